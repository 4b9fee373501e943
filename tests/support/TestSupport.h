#pragma once
// Small helpers shared by the test suites.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/base/Log.h"

namespace testsupport {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder, without a trailing "/".
    const std::string& path() const { return _path; }
    // path() + "/" + relative
    std::string file(const std::string& relative) const;
    // Writes a file (creating its folders) and returns its full path.
    std::string write(const std::string& relative, const std::string& content) const;

private:
    std::string _path;
};

// Captures the engine's log lines while alive.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::vector<std::string> lines() const;
    std::string text() const;   // all lines joined with "\n"
    bool contains(const std::string& needle) const;

private:
    struct State;
    State* _state;
    engine::LogSink _previous;
};

// Sets (or, with nullopt, unsets) an environment variable for the lifetime of the
// object; the old value comes back afterwards.
class EnvOverride {
public:
    EnvOverride(const char* name, std::optional<std::string> value);
    ~EnvOverride();
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const char* _name;
    std::optional<std::string> _old;
};

std::string readFile(const std::string& path);

// Runs main-loop scheduler updates (1/60 s each, a short sleep between them) until
// `done` answers true or the time is up; returns done()'s last answer.
bool pumpMainThreadUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace testsupport
