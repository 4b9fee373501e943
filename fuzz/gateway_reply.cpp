// The gateway reply: any body is either a valid reply naming a patch host or refused.
#include <cstddef>
#include <cstdint>
#include <string>

#include "updater/PatchRoute.h"
#include "updater/ResProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool hosts = [] {
        updater::setPatchHostNames("patch.vexo.test", "cdn.vexo.test", "patch.vexo-mirror.test");
        return true;
    }();
    (void)hosts;
    updater::gatewayReplyValid(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
