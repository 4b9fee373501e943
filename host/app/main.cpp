#include <string>
#include <vector>

#include "engine/network/HttpClient.h"
#include "host/app/AnrGc.h"
#include "host/app/SimulatorWin.h"
#include "portal/SilentLogin.h"
#include "updater/TlsWarmup.h"

int main(int argc, char** argv) {
    // Keeps each frame of the sliced collection short (see AnrGc.h).
    host::keepFreedBlocksCoalesced();
    std::vector<std::string> args(argv, argv + argc);
    // The host sits below the updater: the program hands it the updater's warm-up.
    host::SimulatorWin::setTlsWarmup(updater::startTlsWarmup);
    const int result = host::SimulatorWin::getInstance()->run(args);
    // Abandons transfers still in flight instead of waiting for their time-outs.
    portal::stopSilentLogins();
    engine::network::HttpClient::destroyInstance();
    return result;
}
