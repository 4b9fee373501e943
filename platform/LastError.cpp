#include "platform/LastError.h"

namespace platform {

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD getLastError() { return t_lastError; }
void setLastError(DWORD error) { t_lastError = error; }

}  // namespace platform
