// 256 MiB uploaded to the file server on loopback in 1 MiB uncompressed parts (a
// final one-part file's answer marks the end), against a plain loopback receiver
// that writes the same bytes to a file. Both write under /dev/shm. The server's
// threads do the work, so the time is the process's CPU time.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/files/FileUtils.h"
#include "platform/Socket.h"
#include "runtime/FileServer.h"
#include "runtime/Messages.pb.h"
#include "runtime/UploadReceiver.h"

namespace {

constexpr size_t kPart = 1 << 20;
constexpr int kParts = 256;

// A folder under /dev/shm, removed with its contents when the program ends.
struct Scratch {
    Scratch() {
        char dir[] = "/dev/shm/vexo-bench-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        path = dir;
    }
    ~Scratch() { std::filesystem::remove_all(path); }
    std::string path;
};

const std::string& scratchDir() {
    static const Scratch scratch;
    return scratch.path;
}

// Sends one part: the frame with its message, then the content.
void sendPart(int fd, const std::string& name, int index, const std::string& content) {
    runtime::FileSendProtos m;
    m.set_file_name(name);
    m.set_part_index(index);
    m.set_part_count(kParts);
    m.set_content_length(content.size());
    m.set_compression(runtime::FileSendProtos::COMPRESS_NONE);
    const std::string frame = runtime::makeFrame(m.SerializeAsString());
    platform::sendAll(fd, frame.data(), frame.size());
    platform::sendAll(fd, content.data(), content.size());
}

// Reads reply frames until the one for `name`.
bool awaitReply(int fd, const std::string& name) {
    for (;;) {
        unsigned char head[runtime::kFrameHeaderSize];
        if (!platform::recvAll(fd, head, sizeof head)) return false;
        std::string body(head[14] | (head[15] << 8), '\0');
        if (!platform::recvAll(fd, body.data(), body.size())) return false;
        runtime::FileSendComplete reply;
        if (reply.ParseFromString(body) && reply.file_name() == name) return reply.result() == 0;
    }
}

void BM_upload_vs_raw_tcp_ours(benchmark::State& state) {
    engine::FileUtils::getInstance()->setWritablePath(scratchDir());
    runtime::FileServer* server = runtime::FileServer::getShareInstance();
    if (!server->listenOnTCP(0)) {
        state.SkipWithError("cannot listen");
        return;
    }
    const std::string content(kPart, 'u');
    for (auto _ : state) {
        int fd = platform::connectTcp("127.0.0.1", server->getListenPort());
        for (int i = 1; i <= kParts; ++i) sendPart(fd, "big.bin", i, content);
        sendPart(fd, "end.txt", 1, "end");
        if (!awaitReply(fd, "end.txt")) state.SkipWithError("no answer");
        platform::closeSocket(fd);
    }
    runtime::FileServer::destroyInstance();
}

void BM_upload_vs_raw_tcp_baseline(benchmark::State& state) {
    platform::ListenResult listener = platform::listenTcp("", 0, 1);
    const int port = platform::boundPort(listener.fd);
    const std::string path = scratchDir() + "/raw.bin";
    std::thread receiver([&] {
        std::string chunk(kPart, '\0');
        for (;;) {
            int fd = platform::acceptClient(listener.fd);
            if (fd < 0) return;
            std::FILE* file = std::fopen(path.c_str(), "wb");
            bool ok = true;
            for (int i = 0; i < kParts && ok; ++i) {
                ok = platform::recvAll(fd, chunk.data(), chunk.size()) &&
                     std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
            }
            std::fclose(file);
            char ack = ok ? 1 : 0;
            platform::sendAll(fd, &ack, 1);
            platform::closeSocket(fd);
        }
    });
    const std::string content(kPart, 'u');
    for (auto _ : state) {
        int fd = platform::connectTcp("127.0.0.1", port);
        for (int i = 0; i < kParts; ++i) platform::sendAll(fd, content.data(), content.size());
        char ack = 0;
        if (!platform::recvAll(fd, &ack, 1) || ack != 1) state.SkipWithError("no answer");
        platform::closeSocket(fd);
    }
    platform::shutdownSocket(listener.fd);
    receiver.join();
    platform::closeSocket(listener.fd);
}

}  // namespace

// The servers work on threads of their own: both sides are measured in the whole
// process's CPU time.
BENCHMARK(BM_upload_vs_raw_tcp_ours)
    ->Name("BM_upload_vs_raw_tcp/ours")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_upload_vs_raw_tcp_baseline)
    ->Name("BM_upload_vs_raw_tcp/baseline")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
