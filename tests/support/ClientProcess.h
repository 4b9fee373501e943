#pragma once
// The built vexo-client run as a child process, its standard error captured in a
// file, for the tests that run the whole program.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace testsupport {

class ClientProcess {
public:
    // Starts VEXO_BINARY_DIR/bin/<program> with `args` (after the program path),
    // its standard error going to errPath. "vexo-client-test" is the program with
    // the test seams (the portal's root, the web view's test CA).
    ClientProcess(const std::vector<std::string>& args, std::string errPath,
                  const std::string& program = "vexo-client");
    // Kills the client if it still runs.
    ~ClientProcess();
    ClientProcess(const ClientProcess&) = delete;
    ClientProcess& operator=(const ClientProcess&) = delete;

    bool started() const { return _pid > 0; }
    std::string output() const;
    // Waits until the output holds `needle` (true) or the time is up (false).
    bool waitForOutput(const std::string& needle, std::chrono::milliseconds timeout) const;
    // Sends SIGTERM and waits; returns the exit status, or -1 when the client did not
    // exit normally (the raw wait status goes to rawStatus).
    int terminate(int* rawStatus = nullptr);
    // Waits at most `timeout` for the client to end by itself; the exit status, or
    // -1 (still running: it is killed, or ended abnormally).
    int waitForExit(std::chrono::milliseconds timeout, int* rawStatus = nullptr);

private:
    pid_t _pid = -1;
    std::string _errPath;
};

}  // namespace testsupport
