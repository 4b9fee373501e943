#include "runtime/ConsoleCommand.h"

#include <unistd.h>

#include <mutex>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "engine/base/Scheduler.h"
#include "engine/console/Console.h"
#include "engine/files/FileUtils.h"
#include "host/config/ConfigFileReader.h"
#include "runtime/FileServer.h"
#include "runtime/RuntimeEngine.h"
#include "runtime/UploadReceiver.h"

namespace runtime {
namespace {

// The console's thread reaches the instance only under this lock, so after purge
// no request reaches the old instance.
std::mutex g_instanceMutex;
ConsoleCommand* g_instance = nullptr;

using Allocator = rapidjson::Document::AllocatorType;
using Handler = void (RuntimeProtocol::*)(const rapidjson::Document&, rapidjson::Document&);

rapidjson::Value text(const std::string& s, Allocator& allocator) {
    return rapidjson::Value(s.c_str(), static_cast<rapidjson::SizeType>(s.size()), allocator);
}

void setMember(rapidjson::Value& object, const std::string& name, rapidjson::Value value, Allocator& allocator) {
    const rapidjson::Value key(rapidjson::StringRef(name.data(), name.size()));
    if (object.HasMember(key)) {
        object[key] = value;
    } else {
        object.AddMember(text(name, allocator), value, allocator);
    }
}

void runOnRuntime(Handler handler, const rapidjson::Document& request, rapidjson::Document& reply) {
    RuntimeEngine* engine = RuntimeEngine::getInstance();
    RuntimeProtocol* runtime = engine->getRuntime();
    if (!runtime) {
        engine->setupRuntime();
        runtime = engine->getRuntime();
    }
    if (runtime) (runtime->*handler)(request, reply);
}

// Removes uploaded files by name; the body gets 1 for a name not found and 2 for a
// name refused or a file that could not be deleted.
void removeFiles(const rapidjson::Value& names, rapidjson::Value& body, Allocator& allocator) {
    FileServer* server = FileServer::getShareInstance();
    engine::FileUtils* files = engine::FileUtils::getInstance();
    for (const rapidjson::Value& entry : names.GetArray()) {
        if (!entry.IsString()) continue;
        const std::string name(entry.GetString(), entry.GetStringLength());
        if (!isSafeFileName(name)) {
            setMember(body, name, rapidjson::Value(2), allocator);
            continue;
        }
        if (RuntimeProtocol* runtime = RuntimeEngine::getInstance()->getRuntime()) runtime->onRemove(name);
        const std::string path = server->getWritePath() + "/" + name;
        if (!files->isFileExist(path)) {
            setMember(body, name, rapidjson::Value(1), allocator);
        } else if (unlink(path.c_str()) != 0) {
            setMember(body, name, rapidjson::Value(2), allocator);
        }
        if (!files->isFileExist(path)) server->removeResFileInfo(name);
    }
}

}  // namespace

std::string getLocalIP() {
    const std::string& address = host::ConfigFileReader::getInstance()->getBindAddress();
    return address.empty() ? "127.0.0.1" : address;
}

ConsoleCommand* ConsoleCommand::getShareInstance() {
    std::lock_guard<std::mutex> lock(g_instanceMutex);
    if (!g_instance) g_instance = new ConsoleCommand();
    return g_instance;
}

void ConsoleCommand::purge() {
    ConsoleCommand* old = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_instanceMutex);
        std::swap(old, g_instance);
    }
    delete old;
}

ConsoleCommand::~ConsoleCommand() { engine::Director::getInstance()->getConsole()->stop(); }

void ConsoleCommand::init() {
    engine::Console* console = engine::Director::getInstance()->getConsole();
    static const engine::Console::Command command{
        kCommandName, kCommandHelp, [](int fd, const std::string& args) {
            std::lock_guard<std::mutex> lock(g_instanceMutex);
            if (g_instance) g_instance->postSendCommand(fd, args);
        }};
    console->addCommand(command);

    host::ConfigFileReader* reader = host::ConfigFileReader::getInstance();
    console->setBindAddress(reader->getBindAddress());
    console->listenOnTCP(reader->getConsolePort());

    _fileServer = FileServer::getShareInstance();
    _fileServer->listenOnTCP(reader->getUploadPort());
    _fileServer->readResFileInfo();
}

void ConsoleCommand::postSendCommand(int fd, const std::string& args) {
    engine::Director* director = engine::Director::getInstance();
    const uint64_t client = director->getConsole()->clientSerial(fd);
    director->getScheduler()->performFunctionInEngineThread([fd, client, args] {
        ConsoleCommand* instance = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_instanceMutex);
            instance = g_instance;
        }
        if (instance) instance->onSendCommand(fd, client, args);
    });
}

void ConsoleCommand::onSendCommand(int fd, uint64_t client, const std::string& args) {
    std::string json;
    if (!handleRequest(args, json)) return;
    const std::string frame = frameReply(json);
    engine::Director::getInstance()->getConsole()->sendToClient(fd, client, frame.data(), frame.size());
}

std::string ConsoleCommand::frameReply(const std::string& json) {
    return std::string(1, '\x01') + std::to_string(json.size()) + ":" + json;
}

bool ConsoleCommand::handleRequest(const std::string& requestText, std::string& replyJson) {
    rapidjson::Document request;
    if (!engine::parseJson(requestText, request) || !request.IsObject()) return false;
    const rapidjson::Value* cmdValue = engine::jsonMember(request, "cmd");
    if (!cmdValue) return false;

    rapidjson::Document reply(rapidjson::kObjectType);
    Allocator& allocator = reply.GetAllocator();
    reply.AddMember("cmd", rapidjson::Value(*cmdValue, allocator), allocator);
    if (const rapidjson::Value* seq = engine::jsonMember(request, "seq"))
        reply.AddMember("seq", rapidjson::Value(*seq, allocator), allocator);

    // A "cmd" that is not a string is unknown; so is any name not listed here.
    const std::string cmd = cmdValue->IsString() ? cmdValue->GetString() : "";
    auto member = [&](const char* name) { return engine::jsonMember(request, name); };
    const rapidjson::Value* pathValue = member("path");
    const bool hasPath = pathValue && pathValue->IsString();
    const std::string path = hasPath ? pathValue->GetString() : "";

    rapidjson::Value body(rapidjson::kObjectType);
    bool withBody = false;
    bool withCode = true;

    if (cmd == "start-logic") {
        runOnRuntime(&RuntimeProtocol::onStartDebuger, request, reply);
        withCode = false;
    } else if (cmd == "clearcompile") {
        runOnRuntime(&RuntimeProtocol::onClearCompile, request, reply);
        withCode = false;
    } else if (cmd == "precompile") {
        runOnRuntime(&RuntimeProtocol::onPrecompile, request, reply);
        withCode = false;
    } else if (cmd == "reload") {
        runOnRuntime(&RuntimeProtocol::onReload, request, reply);
        withCode = false;
    } else if (cmd == "getversion") {
        body.AddMember("version", rapidjson::StringRef(RuntimeEngine::getRuntimeVersion()), allocator);
        withBody = true;
    } else if (cmd == "getfileinfo") {
        body = FileServer::getShareInstance()->copyResFileInfo(allocator);
        withBody = true;
    } else if (cmd == "getEntryfile") {
        body.AddMember("entryfile", text(host::ConfigFileReader::getInstance()->getEntryFile(), allocator),
                       allocator);
        withBody = true;
    } else if (cmd == "getIP") {
        body.AddMember("IP", text(getLocalIP(), allocator), allocator);
        withBody = true;
    } else if (cmd == "remove") {
        const rapidjson::Value* names = member("files");
        if (names && names->IsArray()) {
            removeFiles(*names, body, allocator);
            withBody = true;
        }
    } else if (cmd == "shutdownapp") {
        RuntimeEngine::shutDownApp();
        withCode = false;
    } else if (cmd == "getplatform") {
        body.AddMember("platform", "WIN32", allocator);
        withBody = true;
    } else if (cmd == "usewritablepath") {
    } else if (cmd == "workdir") {
        if (hasPath) {
            engine::FileUtils::getInstance()->setDefaultResourceRootPath(path);
            body.AddMember("path", text(path, allocator), allocator);
            withBody = true;
        }
    } else if (cmd == "writablePath") {
        if (hasPath) {
            engine::FileUtils::getInstance()->setWritablePath(path);
            body.AddMember("path", text(path, allocator), allocator);
            withBody = true;
        }
    } else {
        withCode = false;
    }

    if (withBody) reply.AddMember("body", body, allocator);
    if (withCode) reply.AddMember("code", 0, allocator);

    rapidjson::StringBuffer out;
    rapidjson::Writer<rapidjson::StringBuffer> writer(out);
    reply.Accept(writer);
    replyJson.assign(out.GetString(), out.GetSize());
    return true;
}

}  // namespace runtime
