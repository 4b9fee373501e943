// vexo-runtime-host: the client's start-up and command line, then the remote-debug
// runtime's start instead of the update, then the engine's frames until the window
// closes (a termination signal or the console's "shutdownapp"). A test fixture for
// the runtime's network half, which vexo-client itself never opens.
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "host/app/SimulatorWin.h"
#include "runtime/RuntimeEngine.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    host::SimulatorWin::getInstance()->startUp(args);
    runtime::RuntimeEngine* runtime = runtime::RuntimeEngine::getInstance();
    runtime->start();
    int result = engine::Application::getInstance()->runMainLoop();
    runtime->end();   // joins the console's and the file server's threads
    return result;
}
