#include "support/TestSupport.h"

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/vexo-test-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    _path = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(_path, ec);
}

std::string TempDir::file(const std::string& relative) const { return _path + "/" + relative; }

std::string TempDir::write(const std::string& relative, const std::string& content) const {
    std::string full = file(relative);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full;
}

EnvOverride::EnvOverride(const char* name, std::optional<std::string> value) : _name(name) {
    if (const char* old = std::getenv(name)) _old = old;
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

EnvOverride::~EnvOverride() {
    if (_old) {
        setenv(_name, _old->c_str(), 1);
    } else {
        unsetenv(_name);
    }
}

struct LogCapture::State {
    mutable std::mutex mutex;
    std::vector<std::string> lines;
};

LogCapture::LogCapture() : _state(new State) {
    State* s = _state;
    _previous = engine::setLogSink([s](const std::string& line) {
        std::lock_guard<std::mutex> lock(s->mutex);
        s->lines.push_back(line);
    });
}

LogCapture::~LogCapture() {
    engine::setLogSink(_previous);
    delete _state;
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard<std::mutex> lock(_state->mutex);
    return _state->lines;
}

std::string LogCapture::text() const {
    std::string out;
    for (const auto& l : lines()) {
        if (!out.empty()) out += "\n";
        out += l;
    }
    return out;
}

bool LogCapture::contains(const std::string& needle) const {
    return text().find(needle) != std::string::npos;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool pumpMainThreadUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        engine::Director::getInstance()->getScheduler()->update(1.f / 60);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

}  // namespace testsupport
