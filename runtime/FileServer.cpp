#include "runtime/FileServer.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "host/config/ConfigFileReader.h"
#include "platform/Socket.h"
#include "runtime/RuntimeEngine.h"
#include "runtime/UploadReceiver.h"

namespace runtime {
namespace {

FileServer*& instance() {
    static FileServer* server = nullptr;
    return server;
}

constexpr const char* kRecordWriterKey = "fileinfo";
constexpr size_t kSpareBuffers = 20;
constexpr size_t kSpareBufferLimit = 2u << 20;
// Bookkeeping of one queued record beside its own size (the queue's node share).
constexpr uint64_t kRecordOverhead = 64;

}  // namespace

FileServer* FileServer::getShareInstance() {
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    if (!instance()) instance() = new FileServer();
    return instance();
}

void FileServer::destroyInstance() {
    FileServer* server = instance();
    if (!server) return;
    engine::Director::getInstance()->getScheduler()->unschedule(kRecordWriterKey, server);
    server->stop();
    instance() = nullptr;
    delete server;
}

FileServer::FileServer() {
    _writePath = engine::FileUtils::getInstance()->getWritablePath() + "debugruntime/";
    replaceAll(_writePath, "\\", "/");
    if (_writePath.back() != '/') _writePath += '/';
    _fileInfo.SetObject();
}

FileServer::~FileServer() { stop(); }

bool FileServer::listenOnTCP(int port) {
    if (_listenFd >= 0) return false;
    const std::string address = host::ConfigFileReader::getInstance()->getBindAddress();
    platform::ListenResult result = platform::listenTcp(address, port, 1);
    if (result.fd < 0) {
        if (result.failedStep == "resolve") {
            std::fprintf(stderr, "net_listen error for %d: %s\n", port, result.error.c_str());
        } else {
            std::fprintf(stderr, "net_listen:: %s\n", result.error.c_str());
        }
        return false;
    }
    _listenFd = result.fd;
    _listenPort = platform::boundPort(_listenFd);
    engine::log("Console: listening on  %s : %d", platform::boundAddress(_listenFd).c_str(), _listenPort.load());

    _stopping = false;
    _receiveThread = std::thread([this] { receiveLoop(); });
    _writeThread = std::thread([this] { writeLoop(); });
    _responseThread = std::thread([this] { responseLoop(); });
    return true;
}

void FileServer::stop() {
    if (_listenFd < 0) return;
    _stopping = true;
    platform::shutdownSocket(_listenFd);
    {
        std::lock_guard<std::mutex> lock(_connectionMutex);
        platform::shutdownSocket(_clientFd);
    }
    {
        std::lock_guard<std::mutex> lock(_recvMutex);
        _recvReady.notify_all();
        _recvSpace.notify_all();
    }
    {
        std::lock_guard<std::mutex> lock(_responseMutex);
        _responseReady.notify_all();
    }
    _receiveThread.join();
    _writeThread.join();
    _responseThread.join();
    platform::closeSocket(_listenFd);
    _listenFd = -1;
    _listenPort = 0;
    std::lock_guard<std::mutex> recvLock(_recvMutex);
    _recvQueue.clear();
    _spareBuffers.clear();
    _queuedBytes = 0;
    std::lock_guard<std::mutex> responseLock(_responseMutex);
    _responseQueue.clear();
}

void FileServer::receiveLoop() {
    uint64_t serial = 0;
    while (!_stopping) {
        int fd = platform::acceptClient(_listenFd);
        if (fd < 0) {
            if (_stopping) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(_connectionMutex);
            _clientFd = fd;
            _connection = ++serial;
        }
        UploadReceiver receiver([fd](void* buffer, size_t n) { return platform::recvAll(fd, buffer, n); });
        UploadReceiver::Part part;
        UploadReceiver::Failure failure;
        bool open = true;
        while (open && !_stopping) {
            switch (receiver.next(part, failure)) {
                case UploadReceiver::Outcome::kClosed:
                    open = false;
                    break;
                case UploadReceiver::Outcome::kDropped:
                    break;
                case UploadReceiver::Outcome::kFailed: {
                    std::unique_lock<std::mutex> lock(_recvMutex);
                    waitForRoom(lock);
                    lock.unlock();
                    addResponse(serial, failure.fileName, failure.result, failure.errorCode);
                    break;
                }
                case UploadReceiver::Outcome::kPart: {
                    std::unique_lock<std::mutex> lock(_recvMutex);
                    waitForRoom(lock);
                    const uint64_t cost = sizeof(RecvFileRecord) + kRecordOverhead + part.message.ByteSizeLong() +
                                          part.content.capacity();
                    _queuedBytes += cost;
                    _recvQueue.push_back({std::move(part.message), std::move(part.content), serial, cost});
                    if (_writerWaiting) _recvReady.notify_one();
                    part = UploadReceiver::Part();
                    if (!_spareBuffers.empty()) {
                        part.content = std::move(_spareBuffers.back());
                        _spareBuffers.pop_back();
                    }
                    break;
                }
            }
        }
        std::lock_guard<std::mutex> lock(_connectionMutex);
        platform::shutdownSocket(fd);
        platform::closeSocket(fd);
        _clientFd = -1;
    }
}

void FileServer::writeLoop() {
    for (;;) {
        RecvFileRecord record;
        {
            std::unique_lock<std::mutex> lock(_recvMutex);
            _writerWaiting = true;
            _recvReady.wait(lock, [this] { return _stopping || !_recvQueue.empty(); });
            _writerWaiting = false;
            if (_stopping) return;
            record = std::move(_recvQueue.front());
            _recvQueue.pop_front();
        }
        releaseQueued(record.cost);
        writeRecord(record);
        if (record.content.capacity() <= kSpareBufferLimit) {
            std::lock_guard<std::mutex> lock(_recvMutex);
            if (_spareBuffers.size() < kSpareBuffers) _spareBuffers.push_back(std::move(record.content));
        }
    }
}

void FileServer::writeRecord(const RecvFileRecord& record) {
    // A new client starts with a clean slate.
    if (record.connection != _writeConnection) {
        _writeConnection = record.connection;
        _writeFailedName.clear();
    }
    const FileSendProtos& m = record.message;
    const std::string& name = m.file_name();
    setTransferFileName(name);

    const bool first = m.part_index() == 1;
    if (first) {
        _writeFailedName.clear();
    } else if (name == _writeFailedName) {
        return;
    }
    auto fail = [&](int result, int code) {
        _writeFailedName = name;
        addResponse(record.connection, name, result, code);
    };
    if (!isSafeFileName(name)) {
        fail(FileSendComplete::RESULT_OPEN_ERROR, EACCES);
        return;
    }

    const std::string path = _writePath + name;
    createDir(path.substr(0, path.rfind('/')));
    std::FILE* file = std::fopen(path.c_str(), first ? "wbe" : "abe");
    if (!file) {
        fail(FileSendComplete::RESULT_OPEN_ERROR, errno);
        return;
    }
    const Bytes& content = record.content;
    if (!content.empty() && std::fwrite(content.data(), 1, content.size(), file) != content.size()) {
        int code = errno ? errno : EIO;
        std::fclose(file);
        fail(FileSendComplete::RESULT_WRITE_ERROR, code);
        return;
    }
    errno = 0;
    if (std::fclose(file) != 0) {
        fail(FileSendComplete::RESULT_WRITE_ERROR, errno ? errno : EIO);
        return;
    }
    if (first) {
        addResFileInfo(name, m.modified_time());
        addResponse(record.connection, name, FileSendComplete::RESULT_OK, 0);
    }
}

void FileServer::waitForRoom(std::unique_lock<std::mutex>& lock) {
    if (_queuedBytes <= kMaxQueuedBytes) return;
    // Resumes at half the bound: fewer wake-ups than at every record.
    _receiverWaiting = true;
    _recvSpace.wait(lock, [this] { return _stopping || _queuedBytes <= kMaxQueuedBytes / 2; });
    _receiverWaiting = false;
}

void FileServer::releaseQueued(uint64_t cost) {
    std::lock_guard<std::mutex> lock(_recvMutex);
    _queuedBytes -= std::min(cost, _queuedBytes);
    if (_receiverWaiting && _queuedBytes <= kMaxQueuedBytes / 2) _recvSpace.notify_one();
}

void FileServer::addResponse(uint64_t connection, const std::string& fileName, int result, int errorCode) {
    ResponseRecord record;
    record.message.set_file_name(fileName);
    record.message.set_result(static_cast<FileSendComplete::RESULTTYPE>(result));
    record.message.set_error_code(errorCode);
    record.connection = connection;
    record.cost = sizeof(ResponseRecord) + kRecordOverhead + record.message.ByteSizeLong();
    record.queuedAt = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(_recvMutex);
        _queuedBytes += record.cost;
    }
    std::lock_guard<std::mutex> lock(_responseMutex);
    _responseQueue.push_back(std::move(record));
    _responseReady.notify_one();
}

void FileServer::responseLoop() {
    for (;;) {
        ResponseRecord record;
        {
            std::unique_lock<std::mutex> lock(_responseMutex);
            _responseReady.wait(lock, [this] { return _stopping || !_responseQueue.empty(); });
            if (_stopping) return;
            record = std::move(_responseQueue.front());
            _responseQueue.pop_front();
        }
        const std::string frame = makeFrame(record.message.SerializeAsString());
        if (frame.empty()) {
            releaseQueued(record.cost);
            engine::log("FileServer: reply for %s is too long for a frame, dropped",
                        record.message.file_name().c_str());
            continue;
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - record.queuedAt);
        sendToConnection(record.connection, frame,
                         static_cast<int>(std::max<int64_t>(kReplyTimeoutMs - waited.count(), 0)));
        releaseQueued(record.cost);
        engine::log("responseFile:%s,result:%d", record.message.file_name().c_str(),
                    static_cast<int>(record.message.result()));
    }
}

bool FileServer::sendToConnection(uint64_t connection, const std::string& bytes, int milliseconds) {
    // A duplicate keeps the socket alive while sending, even if the receive loop
    // closes its descriptor meanwhile; a reply never reaches a later client.
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(_connectionMutex);
        if (connection != _connection || _clientFd < 0 || connection == _disconnected) return false;
        fd = fcntl(_clientFd, F_DUPFD_CLOEXEC, 0);
    }
    if (fd < 0) return false;
    const bool sent = milliseconds > 0 && platform::sendAllWithin(fd, bytes.data(), bytes.size(), milliseconds);
    close(fd);
    if (!sent) {
        // A client that does not take its replies (the send timed out) or is gone:
        // the receive loop sees the connection end and accepts the next client.
        std::lock_guard<std::mutex> lock(_connectionMutex);
        if (connection == _connection && _clientFd >= 0 && connection != _disconnected) {
            engine::log("FileServer: the client does not take its replies, disconnected");
            _disconnected = connection;
            platform::shutdownSocket(_clientFd);
        }
    }
    return sent;
}

bool FileServer::createDir(const std::string& path) {
    std::string dir = path;
    if (dir.empty() || dir.back() != '/') dir += '/';
    for (size_t i = 1; i < dir.size(); ++i) {
        if (dir[i] != '/') continue;
        const std::string prefix = dir.substr(0, i);
        if (access(prefix.c_str(), F_OK) == 0) continue;
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            std::perror("mkdir error");
            return false;
        }
    }
    return true;
}

void FileServer::addResFileInfo(const std::string& fileName, uint64_t modifiedTime) {
    std::lock_guard<std::mutex> lock(_fileInfoMutex);
    auto& allocator = _fileInfo.GetAllocator();
    const rapidjson::Value name(rapidjson::StringRef(fileName.data(), fileName.size()));
    _fileInfo.EraseMember(name);
    rapidjson::Value key(fileName.c_str(), static_cast<rapidjson::SizeType>(fileName.size()), allocator);
    rapidjson::Value value(std::to_string(modifiedTime).c_str(), allocator);
    _fileInfo.AddMember(key, value, allocator);
}

void FileServer::removeResFileInfo(const std::string& fileName) {
    std::lock_guard<std::mutex> lock(_fileInfoMutex);
    const rapidjson::Value name(rapidjson::StringRef(fileName.data(), fileName.size()));
    _fileInfo.EraseMember(name);
}

void FileServer::readResFileInfo() {
    const std::string path = fileInfoPath();
    {
        std::lock_guard<std::mutex> lock(_fileInfoMutex);
        if (engine::FileUtils::getInstance()->isFileExist(path)) {
            rapidjson::Document loaded;
            if (engine::parseJson(engine::FileUtils::getInstance()->getStringFromFile(path), loaded)) {
                _fileInfo.CopyFrom(loaded, _fileInfo.GetAllocator());
            } else {
                _fileInfo.SetObject();
            }
        }
        if (!_fileInfo.IsObject()) _fileInfo.SetObject();
    }
    engine::Director::getInstance()->getScheduler()->schedule(
        [this](float) { writeResFileInfo(); }, this, 5.0f, false, kRecordWriterKey);
}

rapidjson::Value FileServer::copyResFileInfo(rapidjson::Document::AllocatorType& allocator) const {
    std::lock_guard<std::mutex> lock(_fileInfoMutex);
    return rapidjson::Value(_fileInfo, allocator);
}

void FileServer::writeResFileInfo() const {
    rapidjson::StringBuffer text;
    {
        std::lock_guard<std::mutex> lock(_fileInfoMutex);
        rapidjson::Writer<rapidjson::StringBuffer> writer(text);
        _fileInfo.Accept(writer);
    }
    // Written beside and renamed over: a reader never sees half a record.
    const std::string path = fileInfoPath();
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "we");
    if (!file) return;
    bool ok = std::fwrite(text.GetString(), 1, text.GetSize(), file) == text.GetSize();
    ok = std::fclose(file) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) std::remove(temporary.c_str());
}

std::string FileServer::getTransferFileName() const {
    std::lock_guard<std::mutex> lock(_transferMutex);
    return _transferFileName;
}

void FileServer::setTransferFileName(const std::string& name) {
    std::lock_guard<std::mutex> lock(_transferMutex);
    _transferFileName = name;
}

}  // namespace runtime
