#include <string>
#include <vector>

#include "host/app/SimulatorWin.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    return host::SimulatorWin::getInstance()->run(args);
}
