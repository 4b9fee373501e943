// Any bytes as one client's upload stream to the running file server: the server
// reads its frames, writes the files it accepts under its write folder and
// answers them, then takes the next client; never a crash, a hang or a leak, and
// every name the server records for a received file is a safe relative name.
#include <sys/socket.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <rapidjson/document.h>

#include "engine/files/FileUtils.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Socket.h"
#include "runtime/FileServer.h"
#include "runtime/UploadReceiver.h"

namespace {

int port = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static const std::string scratch = fuzzsupport::makeScratchFolder("vexo-fuzz-uploads");
    std::atexit([] {
        runtime::FileServer::getShareInstance()->stop();
        std::filesystem::remove_all(scratch);
    });
    engine::FileUtils::getInstance()->setWritablePath(scratch + "/");
    engine::FileUtils::getInstance()->setPopupNotify(false);
    runtime::FileServer* server = runtime::FileServer::getShareInstance();
    fuzzsupport::check(server->listenOnTCP(0), "the server listens");
    port = server->getListenPort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = platform::connectTcp("127.0.0.1", port);
    fuzzsupport::check(fd >= 0, "the server takes a client");
    // Replies are read while the stream goes out: a client that does not read
    // them is dropped after a while, which would cut the stream short.
    std::thread replies([fd] {
        char buffer[4096];
        while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    });
    platform::sendAll(fd, data, size);
    ::shutdown(fd, SHUT_WR);
    replies.join();   // the server closes once it has read the whole stream
    platform::closeSocket(fd);

    rapidjson::Document record;
    const rapidjson::Value files = runtime::FileServer::getShareInstance()->copyResFileInfo(record.GetAllocator());
    if (files.IsObject()) {
        for (auto it = files.MemberBegin(); it != files.MemberEnd(); ++it) {
            fuzzsupport::check(runtime::isSafeFileName(it->name.GetString()), "recorded names are safe");
        }
    }
    return 0;
}
