#pragma once
// Inside the host: the process-wide values the game window's procedure needs
// before and around the SimulatorWin instance.
#include "platform/Window.h"

namespace host {
class SimulatorWin;
namespace detail {

// The instance once constructed (nullptr before).
SimulatorWin* simulatorInstance();
void setSimulatorInstance(SimulatorWin* instance);
// The game window's procedure before subclassing.
platform::WNDPROC previousWindowProc();
void setPreviousWindowProc(platform::WNDPROC proc);

}  // namespace detail
}  // namespace host
