#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace platform {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

std::string findOnPath(const std::string& program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > begin ? folders.substr(begin, end - begin) : ".";
        const std::string candidate = folder + "/" + program;
        if (isExecutableFile(candidate)) return candidate;
        begin = end + 1;
    }
    return {};
}

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) args.push_back(current);
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t count = 0;
            while (i < text.size() && text[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < text.size() && text[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2) {
                    current += '"';
                    ++i;
                }
                // an even count leaves the quote to act below
            } else {
                current.append(count, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument) args.push_back(current);
    return args;
}

ChildProcess::~ChildProcess() {
    kill();
    closePipes();
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& args, ErrorStream errors) {
    if (_pid > 0) {
        _error = EBUSY;
        return false;
    }
    const std::string path = findOnPath(program);
    if (path.empty()) {
        _error = ENOENT;
        return false;
    }
    const bool separate = errors == ErrorStream::Separate;
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || (separate && ::pipe2(err, O_CLOEXEC) != 0)) {
        _error = errno;
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
            if (fd >= 0) ::close(fd);
        }
        return false;
    }
    ::fcntl(out[0], F_SETFL, ::fcntl(out[0], F_GETFL) | O_NONBLOCK);
    if (separate) ::fcntl(err[0], F_SETFL, ::fcntl(err[0], F_GETFL) | O_NONBLOCK);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // dup2 clears close-on-exec on the copies the child keeps.
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, separate ? err[1] : out[1], STDERR_FILENO);

    std::vector<std::string> owned;
    owned.reserve(args.size() + 1);
    owned.push_back(program);
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : owned) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    if (separate) ::close(err[1]);
    if (rc != 0) {
        _error = rc;
        ::close(in[1]);
        ::close(out[0]);
        if (separate) ::close(err[0]);
        return false;
    }
    _pid = pid;
    _reaped = false;
    _error = 0;
    _stdinWrite = in[1];
    _stdoutRead = out[0];
    _stderrRead = err[0];
    return true;
}

size_t ChildProcess::availableOutput() const {
    int count = 0;
    if (_stdoutRead < 0 || ::ioctl(_stdoutRead, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<size_t>(count);
}

namespace {

ssize_t readNow(int fd, char* buffer, size_t size) {
    if (fd < 0) return -1;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n > 0) return n;
        if (n == 0) return -1;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return -1;
    }
}

}  // namespace

ssize_t ChildProcess::readOutput(char* buffer, size_t size) { return readNow(_stdoutRead, buffer, size); }
ssize_t ChildProcess::readError(char* buffer, size_t size) { return readNow(_stderrRead, buffer, size); }

bool ChildProcess::pollExit(int* code) {
    if (_pid <= 0 || _reaped) return false;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(_pid, &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0) return false;
    _reaped = true;
    if (r < 0) {
        _error = errno;
        if (code) *code = -1;
        return true;
    }
    if (code) *code = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    return true;
}

bool ChildProcess::kill() {
    if (_pid <= 0 || _reaped) return false;
    ::kill(_pid, SIGKILL);
    int status = 0;
    while (::waitpid(_pid, &status, 0) < 0 && errno == EINTR) {
    }
    _reaped = true;
    return true;
}

void ChildProcess::closePipes() {
    closeFd(_stdinWrite);
    closeFd(_stdoutRead);
    closeFd(_stderrRead);
}

}  // namespace platform
