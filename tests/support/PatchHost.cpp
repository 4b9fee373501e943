#include "support/PatchHost.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>
#include <rapidjson/document.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

extern char** environ;

namespace testsupport {

namespace {

constexpr int kReadySeconds = 40;

using Clock = std::chrono::steady_clock;

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Waits up to `timeout` for the child to end; true when it was reaped.
bool reap(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || r < 0) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

PatchHost::Options PatchHost::trusted() {
    Options options;
    options.cert = std::string(VEXO_CERT_DIR) + "/server.pem";
    options.key = std::string(VEXO_CERT_DIR) + "/server.key";
    return options;
}

PatchHost::Options PatchHost::rogue() {
    Options options;
    options.cert = std::string(VEXO_CERT_DIR) + "/rogue-server.pem";
    options.key = std::string(VEXO_CERT_DIR) + "/rogue-server.key";
    return options;
}

PatchHost::PatchHost() : PatchHost(trusted()) {}

PatchHost::PatchHost(const Options& options)
    : _root(_dir.file("root")),
      _faultsPath(_dir.file("faults.json")),
      _logPath(_dir.file("requests.jsonl")),
      _readyPath(_dir.file("ready")) {
    ::mkdir(_root.c_str(), 0755);
    writeFaults();

    std::string ports;
    for (int port : options.ports) ports += (ports.empty() ? "" : ",") + std::to_string(port);
    std::vector<std::string> args = {
        "python3", std::string(VEXO_SOURCE_DIR) + "/tools/patchhost/patch_host.py",
        "--root", _root, "--ports", ports, "--cert", options.cert, "--key", options.key,
        "--faults", _faultsPath, "--log", _logPath, "--ready", _readyPath,
        "--parent", std::to_string(::getpid())};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    // The host's stderr goes to a file, so that its reason to stop can be told.
    const std::string errPath = _dir.file("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = ::posix_spawnp(&_pid, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        _pid = -1;
        _error = "cannot start python3 for the patch host";
        return;
    }

    // Python starts slowly on a loaded machine (a second or more of CPU time at
    // times): be generous, a ready host ends the wait at once.
    const auto deadline = Clock::now() + std::chrono::seconds(kReadySeconds);
    while (Clock::now() < deadline) {
        if (fileExists(_readyPath)) {
            readReadyFile();
            if (_ports.size() == options.ports.size()) {
                _ready = true;
            } else {
                _error = "the patch host's ready file does not list its ports";
            }
            return;
        }
        int status = 0;
        if (::waitpid(_pid, &status, WNOHANG) == _pid) {
            _pid = -1;
            std::string reason = readFile(errPath);
            while (!reason.empty() && reason.back() == '\n') reason.pop_back();
            _error = "the patch host exited before it was ready: " +
                     (reason.empty() ? std::string("no reason given") : reason) +
                     " (the tests choose free ports; a fixed port comes from PatchHost::Options)";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    _error = "the patch host was not ready within " + std::to_string(kReadySeconds) + " s";
}

void PatchHost::readReadyFile() {
    rapidjson::Document doc;
    const std::string text = readFile(_readyPath);
    doc.Parse(text.c_str());
    if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("ports") || !doc["ports"].IsArray())
        return;
    for (const auto& port : doc["ports"].GetArray())
        if (port.IsInt()) _ports.push_back(port.GetInt());
}

int PatchHost::closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 1;   // port 1 (tcpmux) is as good as closed on a test machine
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);   // bound but never listening: the port stays free and closed
    return port;
}

PatchHost::~PatchHost() {
    if (_pid <= 0) return;
    ::kill(_pid, SIGTERM);
    if (!reap(_pid, std::chrono::seconds(5))) {
        ::kill(_pid, SIGKILL);
        reap(_pid, std::chrono::seconds(5));
    }
}

std::string PatchHost::writeFile(const std::string& relative, const std::string& content) const {
    return _dir.write("root/" + relative, content);
}

std::string PatchHost::url(int port, const std::string& path, const std::string& host) {
    return "https://" + host + ":" + std::to_string(port) + path;
}

void PatchHost::setFault(const std::string& port, const std::string& path, const std::string& json) {
    _faults[port][path] = json;
    writeFaults();
}

void PatchHost::setFault(int port, const std::string& path, const std::string& json) {
    setFault(std::to_string(port), path, json);
}

void PatchHost::clearFaults() {
    _faults.clear();
    writeFaults();
}

// The host reloads the file when it changes; a rename keeps it from ever reading
// half a file.
void PatchHost::writeFaults() const {
    std::string json = "{";
    for (const auto& [port, paths] : _faults) {
        if (json.size() > 1) json += ",";
        json += jsonString(port) + ":{";
        bool first = true;
        for (const auto& [path, fault] : paths) {
            json += (first ? "" : ",") + jsonString(path) + ":" + fault;
            first = false;
        }
        json += "}";
    }
    json += "}";
    const std::string temp = _faultsPath + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << json;
    }
    std::rename(temp.c_str(), _faultsPath.c_str());
}

std::string PatchHost::Request::header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    }
    return {};
}

std::vector<PatchHost::Request> PatchHost::requests() const {
    std::vector<Request> result;
    std::ifstream in(_logPath);
    std::string line;
    while (std::getline(in, line)) {
        rapidjson::Document doc;
        doc.Parse(line.c_str());
        if (doc.HasParseError() || !doc.IsObject()) continue;   // a line still being written
        Request request;
        if (doc.HasMember("port") && doc["port"].IsInt()) request.port = doc["port"].GetInt();
        if (doc.HasMember("path") && doc["path"].IsString()) request.path = doc["path"].GetString();
        if (doc.HasMember("range") && doc["range"].IsString()) request.range = doc["range"].GetString();
        if (doc.HasMember("method") && doc["method"].IsString()) request.method = doc["method"].GetString();
        if (doc.HasMember("body") && doc["body"].IsString()) request.body.assign(doc["body"].GetString(), doc["body"].GetStringLength());
        if (doc.HasMember("headers") && doc["headers"].IsArray()) {
            for (const auto& pair : doc["headers"].GetArray()) {
                if (pair.IsArray() && pair.Size() == 2 && pair[0].IsString() && pair[1].IsString()) {
                    request.headers.emplace_back(pair[0].GetString(), pair[1].GetString());
                }
            }
        }
        result.push_back(std::move(request));
    }
    return result;
}

}  // namespace testsupport
