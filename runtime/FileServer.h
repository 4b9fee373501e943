#pragma once
// The remote-debug file server. It receives project files from a development tool
// over TCP and writes them under its write folder, "debugruntime/" inside the
// engine's writable folder, answering each file's first part (and every failure)
// with a FileSendComplete frame. Three threads do the work: receive, write and
// respond. One client is served at a time; when it goes, the next is accepted.
// What the server holds for its client is bounded (kMaxQueuedBytes), and a client
// that does not read its replies is disconnected (kReplyTimeoutMs).
// A JSON record maps each received file to its modification time; the main thread
// writes it to "fileinfo_debug.json" every 5 seconds.
//
// Creating the server only computes the write folder; nothing listens before
// listenOnTCP.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <rapidjson/document.h>

#include "runtime/Messages.pb.h"
#include "runtime/UploadReceiver.h"

namespace runtime {

class FileServer {
public:
    // Every byte the server holds for its connection counts against this bound:
    // parts waiting to be written (content, message and bookkeeping alike) and
    // replies waiting to be sent. The receive loop stops reading while it is
    // passed, until half of it is free: memory stays bounded and the write loop's
    // spent buffers come back to be refilled.
    static constexpr uint64_t kMaxQueuedBytes = 16ull << 20;
    // A reply the client has not taken this long after it was queued disconnects
    // the client (its later replies are dropped).
    static constexpr int kReplyTimeoutMs = 5000;
    static constexpr const char* kFileInfoName = "fileinfo_debug.json";

    // Created on first use.
    static FileServer* getShareInstance();
    // Stops the server, stops the record writer and deletes the instance.
    static void destroyInstance();

    // The write folder: "/" separators, always ending in "/".
    std::string getWritePath() const { return _writePath; }

    // Listens on the configured bind address (127.0.0.1 without one) and starts the
    // three threads. False when already listening or the port cannot be bound.
    bool listenOnTCP(int port);
    int getListenPort() const { return _listenPort; }
    // Wakes and joins the three threads and closes the sockets; parts not yet written
    // are dropped. Listening may start again afterwards.
    void stop();

    // Queues a FileSendComplete for the connection that sent the part.
    void addResponse(uint64_t connection, const std::string& fileName, int result, int errorCode);

    // The file-info record. Thread-safe.
    void addResFileInfo(const std::string& fileName, uint64_t modifiedTime);
    void removeResFileInfo(const std::string& fileName);
    // Loads "fileinfo_debug.json" from the write folder (anything but a JSON object
    // gives an empty record) and schedules the record writer on the main thread.
    void readResFileInfo();
    // The record as a JSON object built with `allocator`.
    rapidjson::Value copyResFileInfo(rapidjson::Document::AllocatorType& allocator) const;
    // The record writer's step: replaces "fileinfo_debug.json" with the record.
    void writeResFileInfo() const;

    // Name of the file the write loop handled last.
    std::string getTransferFileName() const;
    void setTransferFileName(const std::string& name);

    // Creates the missing folders of `path`; true when all of them exist afterwards.
    static bool createDir(const std::string& path);

private:
    struct RecvFileRecord {
        FileSendProtos message;
        Bytes content;
        uint64_t connection;
        uint64_t cost;   // bytes counted against kMaxQueuedBytes
    };
    struct ResponseRecord {
        FileSendComplete message;
        uint64_t connection;
        uint64_t cost;
        std::chrono::steady_clock::time_point queuedAt;
    };

    FileServer();
    ~FileServer();
    void receiveLoop();
    void writeLoop();
    void responseLoop();
    void writeRecord(const RecvFileRecord& record);
    // Sends within `milliseconds`; a failure disconnects the client.
    bool sendToConnection(uint64_t connection, const std::string& bytes, int milliseconds);
    // Receive loop, under _recvMutex: waits while the queued bytes pass the bound.
    void waitForRoom(std::unique_lock<std::mutex>& lock);
    // Gives back what a record cost once it left its queue.
    void releaseQueued(uint64_t cost);
    std::string fileInfoPath() const { return _writePath + "/" + kFileInfoName; }

    std::string _writePath;
    int _listenFd = -1;
    std::atomic<int> _listenPort{0};
    std::atomic<bool> _stopping{false};
    std::thread _receiveThread, _writeThread, _responseThread;

    // The connection being served: its socket and its serial.
    std::mutex _connectionMutex;
    int _clientFd = -1;
    uint64_t _connection = 0;
    uint64_t _disconnected = 0;   // the connection a late reply closed

    std::mutex _recvMutex;
    std::condition_variable _recvReady;   // a record arrived, or stopping
    std::condition_variable _recvSpace;   // queued bytes went down, or stopping
    std::deque<RecvFileRecord> _recvQueue;
    uint64_t _queuedBytes = 0;   // both queues' costs
    bool _writerWaiting = false;     // each side is woken only while it waits
    bool _receiverWaiting = false;
    // Content buffers the write loop is done with, for the receive loop to refill
    // (their memory is already mapped).
    std::vector<Bytes> _spareBuffers;

    std::mutex _responseMutex;
    std::condition_variable _responseReady;
    std::deque<ResponseRecord> _responseQueue;

    mutable std::mutex _fileInfoMutex;
    rapidjson::Document _fileInfo;

    mutable std::mutex _transferMutex;
    std::string _transferFileName;

    // Write thread only.
    std::string _writeFailedName;
    uint64_t _writeConnection = 0;
};

}  // namespace runtime
