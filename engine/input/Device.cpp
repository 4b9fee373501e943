#include "engine/input/InputEvents.h"

#include "platform/Monitor.h"

namespace engine {
namespace {
// Main thread only, like every caller.
bool g_accelerometerEnabled = false;
float g_accelerometerInterval = 1.0f / 60.0f;
}  // namespace

void Device::setAccelerometerEnabled(bool enabled) { g_accelerometerEnabled = enabled; }
bool Device::isAccelerometerEnabled() { return g_accelerometerEnabled; }
void Device::setAccelerometerInterval(float interval) { g_accelerometerInterval = interval; }
float Device::getAccelerometerInterval() { return g_accelerometerInterval; }
int Device::getDPI() { return platform::primaryMonitor().dpiX; }

}  // namespace engine
