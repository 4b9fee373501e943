#include "support/ClientProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "support/TestSupport.h"

namespace testsupport {

ClientProcess::ClientProcess(const std::vector<std::string>& args, std::string errPath, const std::string& program)
    : _errPath(std::move(errPath)) {
    std::vector<std::string> all = {VEXO_BINARY_DIR "/bin/" + program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    _pid = fork();
    if (_pid == 0) {
        int fd = open(_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) _exit(126);
        dup2(fd, STDERR_FILENO);
        close(fd);
        execv(argv[0], argv.data());
        _exit(127);
    }
}

ClientProcess::~ClientProcess() {
    if (_pid > 0) {
        kill(_pid, SIGKILL);
        waitpid(_pid, nullptr, 0);
    }
}

std::string ClientProcess::output() const { return testsupport::readFile(_errPath); }

bool ClientProcess::waitForOutput(const std::string& needle, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (output().find(needle) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

int ClientProcess::terminate(int* rawStatus) {
    if (_pid <= 0) return -1;
    kill(_pid, SIGTERM);
    return waitForExit(std::chrono::seconds(30), rawStatus);
}

int ClientProcess::waitForExit(std::chrono::milliseconds timeout, int* rawStatus) {
    if (_pid <= 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (waitpid(_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(_pid, SIGKILL);
            waitpid(_pid, &status, 0);
            _pid = -1;
            if (rawStatus) *rawStatus = status;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    _pid = -1;
    if (rawStatus) *rawStatus = status;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testsupport
