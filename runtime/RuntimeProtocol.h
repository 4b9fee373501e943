#pragma once
// One kind of script runtime that the runtime engine can drive; the engine owns the
// registered runtimes.

namespace runtime {

class RuntimeProtocol {
public:
    virtual ~RuntimeProtocol() = default;
};

}  // namespace runtime
