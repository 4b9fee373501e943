#include "runtime/FileServer.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <zlib.h>

#include "RuntimeTestSupport.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "host/config/ConfigFileReader.h"
#include "platform/Socket.h"
#include "runtime/UploadReceiver.h"
#include "support/HeapPeak.h"
#include "support/TestSupport.h"

using runtime::FileSendComplete;
using runtime::FileServer;
using runtimetest::partFrame;
using runtimetest::partMessage;
using runtimetest::Reply;
using namespace std::chrono_literals;

namespace {

class FileServerOverLoopback : public testing::Test {
protected:
    void SetUp() override {
        engine::FileUtils::getInstance()->setWritablePath(dir.path());
        server = FileServer::getShareInstance();
        ASSERT_TRUE(server->listenOnTCP(0));
        client = connect();
        ASSERT_GE(client, 0);
    }
    void TearDown() override {
        platform::closeSocket(client);
        FileServer::destroyInstance();
    }
    int connect() const { return platform::connectTcp("127.0.0.1", server->getListenPort()); }
    void send(const std::string& bytes, int fd = -1) const {
        ASSERT_TRUE(platform::sendAll(fd < 0 ? client : fd, bytes.data(), bytes.size()));
    }
    void sendFile(const std::string& name, const std::string& content, int index = 1, uint64_t time = 0) const {
        send(partFrame(partMessage(name, index, content.size(), time), content));
    }
    Reply reply(int fd = -1) const {
        Reply r;
        EXPECT_TRUE(runtimetest::readReply(fd < 0 ? client : fd, r)) << "no reply";
        return r;
    }
    // The next reply answers `name` with RESULT_OK.
    void expectServed(const std::string& name, int fd = -1) const {
        Reply r = reply(fd);
        EXPECT_EQ(r.fileName, name);
        EXPECT_EQ(r.result, FileSendComplete::RESULT_OK) << name;
    }
    // Nothing more arrives for a while.
    void expectSilence() const { EXPECT_EQ(runtimetest::receiveFor(client, 300ms), ""); }
    std::string written(const std::string& name) const { return testsupport::readFile(server->getWritePath() + name); }
    bool exists(const std::string& path) const { return access(path.c_str(), F_OK) == 0; }

    testsupport::TempDir dir;
    FileServer* server = nullptr;
    int client = -1;
};

}  // namespace

TEST_F(FileServerOverLoopback, OnePartFileIsWrittenAnsweredAndRecorded) {
    sendFile("main.lua", "print(1)", 1, 1700000000123ull);
    Reply r = reply();
    EXPECT_EQ(r.fileName, "main.lua");
    EXPECT_EQ(r.result, FileSendComplete::RESULT_OK);
    EXPECT_EQ(r.errorCode, 0);
    EXPECT_EQ(written("main.lua"), "print(1)");
    EXPECT_EQ(server->getTransferFileName(), "main.lua");

    rapidjson::Document doc;
    rapidjson::Value record = server->copyResFileInfo(doc.GetAllocator());
    ASSERT_TRUE(record.HasMember("main.lua"));
    EXPECT_STREQ(record["main.lua"].GetString(), "1700000000123");

    // The record writer runs on the main thread every 5 seconds.
    server->readResFileInfo();
    const std::string recordFile = server->getWritePath() + "/" + FileServer::kFileInfoName;
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return exists(recordFile); }, 10s));
    EXPECT_EQ(testsupport::readFile(recordFile), R"({"main.lua":"1700000000123"})");
}

TEST_F(FileServerOverLoopback, LaterPartsAppendAndAreAnsweredOnlyOnFailure) {
    sendFile("big.bin", "one-", 1);
    sendFile("big.bin", "two-", 2);
    sendFile("big.bin", "three", 3);
    EXPECT_EQ(reply().result, FileSendComplete::RESULT_OK);
    expectSilence();
    EXPECT_EQ(written("big.bin"), "one-two-three");
    // A new first part truncates.
    sendFile("big.bin", "new", 1);
    EXPECT_EQ(reply().result, FileSendComplete::RESULT_OK);
    EXPECT_EQ(written("big.bin"), "new");
}

TEST_F(FileServerOverLoopback, EmptyFilesNestedFoldersAndGarbageBeforeAFrame) {
    sendFile("empty.txt", "");
    EXPECT_EQ(reply().result, FileSendComplete::RESULT_OK);
    send(std::string(36, '#'));
    sendFile("res/ui/deep/x.png", "png");
    EXPECT_EQ(reply().fileName, "res/ui/deep/x.png");
    EXPECT_TRUE(exists(server->getWritePath() + "empty.txt"));
    EXPECT_EQ(written("empty.txt"), "");
    EXPECT_EQ(written("res/ui/deep/x.png"), "png");
}

TEST_F(FileServerOverLoopback, CompressedPartsInflateOrFail) {
    const std::string text(5000, 'k');
    const std::string packed = runtimetest::deflate(text);
    auto compressed = [](const std::string& name, int index, const std::string& bytes, uint64_t length) {
        runtime::FileSendProtos m = partMessage(name, index, bytes.size());
        m.set_compression(runtime::FileSendProtos::COMPRESS_ZLIB);
        m.set_uncompressed_length(length);
        return partFrame(m, bytes);
    };
    send(compressed("good.txt", 1, packed, text.size()));
    EXPECT_EQ(reply().result, FileSendComplete::RESULT_OK);
    EXPECT_EQ(written("good.txt"), text);

    // Corrupt: answered with zlib's code; its next part is dropped silently and
    // the frame after that is read.
    send(compressed("bad.txt", 1, "garbage!", 100));
    send(compressed("bad.txt", 2, packed, text.size()));
    sendFile("after.txt", "fine");
    Reply bad = reply();
    EXPECT_EQ(bad.fileName, "bad.txt");
    EXPECT_EQ(bad.result, FileSendComplete::RESULT_UNCOMPRESS_ERROR);
    EXPECT_EQ(bad.errorCode, Z_DATA_ERROR);
    expectServed("after.txt");
    EXPECT_FALSE(exists(server->getWritePath() + "bad.txt"));

    send(compressed("small.txt", 1, packed, 10));
    Reply small = reply();
    EXPECT_EQ(small.result, FileSendComplete::RESULT_UNCOMPRESS_ERROR);
    EXPECT_EQ(small.errorCode, Z_BUF_ERROR);
}

TEST_F(FileServerOverLoopback, OpenAndWriteFailuresAreAnsweredAndDropTheRest) {
    // A folder part that is a file.
    sendFile("plain", "x");
    EXPECT_EQ(reply().result, FileSendComplete::RESULT_OK);
    sendFile("plain/inner.txt", "y");
    Reply notDir = reply();
    EXPECT_EQ(notDir.result, FileSendComplete::RESULT_OPEN_ERROR);
    EXPECT_EQ(notDir.errorCode, ENOTDIR);

    // A short write: the name is a link to a full device.
    ASSERT_EQ(symlink("/dev/full", (server->getWritePath() + "full").c_str()), 0);
    sendFile("full", std::string(100000, 'f'));
    sendFile("full", "second part is dropped", 2);
    Reply full = reply();
    EXPECT_EQ(full.result, FileSendComplete::RESULT_WRITE_ERROR);
    EXPECT_EQ(full.errorCode, ENOSPC);
    expectSilence();
}

TEST_F(FileServerOverLoopback, NamesOutsideTheWriteFolderAreRefused) {
    const char* names[] = {"../escape.txt", "a/../../escape.txt", "/tmp/escape.txt", "..\\escape.txt", ""};
    for (const char* name : names) {
        sendFile(name, "evil");
        Reply r = reply();
        EXPECT_EQ(r.fileName, name);
        EXPECT_EQ(r.result, FileSendComplete::RESULT_OPEN_ERROR) << name;
        EXPECT_EQ(r.errorCode, EACCES) << name;
    }
    EXPECT_FALSE(exists(dir.path() + "/escape.txt"));
    EXPECT_FALSE(exists(server->getWritePath() + "..\\escape.txt"));
}

TEST_F(FileServerOverLoopback, OversizeClaimIsAnsweredAndItsBytesSkipped) {
    const uint64_t tooBig = runtime::UploadReceiver::kMaxPartLength + 1;
    send(partFrame(partMessage("huge.bin", 1, tooBig), ""));
    Reply r = reply();
    EXPECT_EQ(r.result, FileSendComplete::RESULT_RECEIVE_ERROR);
    EXPECT_EQ(r.errorCode, EFBIG);
    // The claimed bytes are still read and thrown away before the next frame.
    const std::string chunk(1 << 20, 'z');
    for (uint64_t left = tooBig; left > 0;) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(left, chunk.size()));
        send(chunk.substr(0, n));
        left -= n;
    }
    sendFile("huge.bin", "tail", 2);
    sendFile("next.txt", "ok");
    expectServed("next.txt");
    EXPECT_FALSE(exists(server->getWritePath() + "huge.bin"));
}

TEST_F(FileServerOverLoopback, ReplyTooLongForAFrameIsDroppedAndServingGoesOn) {
    // The longest name an incoming frame can carry, alone in its message (so a
    // later part, opened for appending): the open fails and the answer, a few
    // bytes longer, no longer fits a frame.
    runtime::FileSendProtos m;
    m.set_file_name(std::string(65531, 'n'));
    const std::string frame = runtime::makeFrame(m.SerializePartialAsString());
    ASSERT_FALSE(frame.empty());
    send(frame);
    sendFile("short.txt", "ok");
    expectServed("short.txt");
}

TEST_F(FileServerOverLoopback, ClientClosingMidPartLosesItAndTheNextClientIsServed) {
    send(partFrame(partMessage("cut.txt", 1, 100), std::string(10, 'c')));
    platform::closeSocket(client);
    client = connect();
    ASSERT_GE(client, 0);
    sendFile("second.txt", "served");
    expectServed("second.txt");
    EXPECT_FALSE(exists(server->getWritePath() + "cut.txt"));
}

TEST_F(FileServerOverLoopback, StopWakesBlockedLoopsPromptlyAndListeningMayStartAgain) {
    EXPECT_FALSE(server->listenOnTCP(0));
    send(partFrame(partMessage("half.txt", 1, 100), "x"));   // the receive loop now waits for content
    std::this_thread::sleep_for(50ms);
    auto start = std::chrono::steady_clock::now();
    server->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(runtimetest::receiveFor(client, 1s), "<closed>");
    EXPECT_EQ(server->getListenPort(), 0);

    ASSERT_TRUE(server->listenOnTCP(0));
    platform::closeSocket(client);
    client = connect();
    sendFile("again.txt", "yes");
    EXPECT_EQ(reply().result, FileSendComplete::RESULT_OK);
    start = std::chrono::steady_clock::now();
    server->stop();   // blocked in receive with an idle client
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

// A client floods the server with parts and never reads a reply. What the server
// holds stays bounded whatever the parts cost it: answers to refused names that the
// client does not take, and empty parts (nothing but their message) that wait for a
// writer stalled on a pipe. The client is then stopped by the server: its sends stall
// long before it sent `volume`. One whose replies wait longer than the time-out is
// disconnected, and the next client is served; a stalled server still stops at once.
TEST_F(FileServerOverLoopback, ClientThatNeverReadsIsBoundedAndDisconnected) {
    struct Case {
        const char* name;
        std::string frame;
        uint64_t volume;
        bool stallWriter;    // the parts go to a pipe nobody reads yet
        bool disconnected;   // its replies stall
    };
    const std::string stall = server->getWritePath() + "stall";
    ASSERT_TRUE(FileServer::createDir(server->getWritePath()));
    ASSERT_EQ(mkfifo(stall.c_str(), 0600), 0);
    const Case cases[] = {
        {"refused names, each answered", partFrame(partMessage("../" + std::string(4000, 'r'), 1, 0), ""),
         96ull << 20, false, true},
        {"empty parts for a stalled writer", partFrame(partMessage("stall", 2, 0), ""), 32ull << 20, true, false},
    };
    constexpr uint64_t kMargin = 24ull << 20;   // buffers, threads, the test's own
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::closeSocket(client);
        client = connect();
        ASSERT_GE(client, 0);
        platform::setSendTimeout(client, 1000);
        // A small receive buffer: the replies cannot hide in a large one.
        const int small = 64 * 1024;
        ASSERT_EQ(setsockopt(client, SOL_SOCKET, SO_RCVBUF, &small, sizeof small), 0);
        std::string batch;
        while (batch.size() < (1u << 20)) batch += c.frame;

        const auto deadline = std::chrono::steady_clock::now() + 20s;
        uint64_t sent = 0;
        const std::optional<size_t> peak = testsupport::peakHeapDuring([&] {
            while (sent < c.volume && std::chrono::steady_clock::now() < deadline &&
                   platform::sendAll(client, batch.data(), batch.size()))
                sent += batch.size();
        });
        EXPECT_LT(sent, c.volume);
        if (peak) {
            EXPECT_LT(*peak, FileServer::kMaxQueuedBytes + kMargin) << "sent " << sent;
        }

        if (c.disconnected) {
            std::this_thread::sleep_for(std::chrono::milliseconds(FileServer::kReplyTimeoutMs) + 1s);
            const std::string rest = runtimetest::receiveFor(client, 10s);
            EXPECT_TRUE(rest.size() >= 8 && rest.compare(rest.size() - 8, 8, "<closed>") == 0);
        }
        if (c.stallWriter) {
            // A reader lets the writer go on (each part opens the pipe anew); the
            // parts still queued are dropped by a prompt stop.
            const int reader = open(stall.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            const auto start = std::chrono::steady_clock::now();
            server->stop();
            EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
            close(reader);
            ASSERT_TRUE(server->listenOnTCP(0));
        }
        platform::closeSocket(client);
        client = connect();
        sendFile("after.txt", "ok");
        Reply r;
        EXPECT_TRUE(runtimetest::readReply(client, r, 20s));
        EXPECT_EQ(r.fileName, "after.txt");
    }
}

TEST(FileServerListen, AnAddressThatIsNotIpv4TextFails) {
    testsupport::TempDir dir;
    engine::FileUtils::getInstance()->setWritablePath(dir.path());
    for (const char* address : {"::1", "example.org", "300.1.1.1"}) {
        host::ConfigFileReader::getInstance()->setBindAddress(address);
        EXPECT_FALSE(FileServer::getShareInstance()->listenOnTCP(0)) << address;
        EXPECT_EQ(FileServer::getShareInstance()->getListenPort(), 0);
    }
    host::ConfigFileReader::getInstance()->setBindAddress("127.0.0.1");
    EXPECT_TRUE(FileServer::getShareInstance()->listenOnTCP(0));
    FileServer::destroyInstance();
}

TEST(FileServerRecord, AnythingButAnObjectLoadsAsAnEmptyRecord) {
    testsupport::TempDir dir;
    engine::FileUtils::getInstance()->setWritablePath(dir.path());
    FileServer* server = FileServer::getShareInstance();
    struct Case {
        const char* text;
        const char* loaded;
    };
    const Case cases[] = {
        {"[1,2]", "{}"},
        {"not json", "{}"},
        {"", "{}"},
        {R"({"a.lua":"5","b":"6"})", R"({"a.lua":"5","b":"6"})"},
    };
    for (const Case& tc : cases) {
        dir.write("debugruntime/fileinfo_debug.json", tc.text);
        server->readResFileInfo();
        server->writeResFileInfo();
        EXPECT_EQ(testsupport::readFile(dir.file("debugruntime/fileinfo_debug.json")), tc.loaded) << tc.text;
    }
    server->addResFileInfo("a.lua", 7);
    server->addResFileInfo("c", 18446744073709551615ull);
    server->removeResFileInfo("b");
    server->removeResFileInfo("missing");
    server->writeResFileInfo();
    EXPECT_EQ(testsupport::readFile(dir.file("debugruntime/fileinfo_debug.json")),
              R"({"a.lua":"7","c":"18446744073709551615"})");
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    EXPECT_TRUE(scheduler->isScheduled("fileinfo", server));
    FileServer::destroyInstance();
    EXPECT_FALSE(scheduler->isScheduled("fileinfo", server));
}

TEST(FileServerFolders, CreateDirMakesEveryMissingFolder) {
    testsupport::TempDir dir;
    // Longer than any fixed path buffer would be.
    const std::string part(200, 'd');
    const std::string deep = dir.path() + "/" + part + "/" + part + "/b/c";
    EXPECT_TRUE(FileServer::createDir(deep));
    EXPECT_EQ(access(deep.c_str(), F_OK), 0);
    EXPECT_TRUE(FileServer::createDir(deep + "/"));   // existing folders are fine
    dir.write("file", "x");
    EXPECT_FALSE(FileServer::createDir(dir.file("file/sub")));
}
