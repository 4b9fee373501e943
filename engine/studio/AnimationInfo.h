#pragma once
// A named frame range of a studio timeline animation, with the callback run when
// playing reaches its end.
#include <cstdint>
#include <functional>
#include <string>

namespace studio::timeline {

struct AnimationInfo {
    std::string name;
    int32_t startIndex = 0;
    int32_t endIndex = 0;
    std::function<void()> clipEndCallBack;
};

}  // namespace studio::timeline
