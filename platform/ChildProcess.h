#pragma once
// A child process with its standard streams on pipes, polled without blocking.
// No shell is involved: the program gets an argument vector. Standard input is a
// pipe kept open by us; standard output and standard error share one pipe, or with
// ErrorStream::Separate each has its own; our read ends are non-blocking. Our ends
// are close-on-exec, so other children never inherit them. Main thread only.
#include <sys/types.h>

#include <string>
#include <vector>

namespace platform {

// The full path of `program`: itself when it contains "/", else the first
// executable file of that name in the folders of PATH; "" when there is none.
std::string findOnPath(const std::string& program);

// Splits an argument string the way Windows programs split their command line:
// blanks (space, tab) separate arguments, double quotes group (and "" inside quotes
// is a literal quote), 2n backslashes before a quote give n backslashes and the
// quote acts, 2n+1 give n backslashes and a literal quote; other backslashes are
// plain characters.
std::vector<std::string> splitCommandLine(const std::string& text);

class ChildProcess {
public:
    ChildProcess() = default;
    // Kills and reaps a child still running, closes the pipes.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    enum class ErrorStream { WithOutput, Separate };

    // Starts `program` (found through findOnPath) with `args` as argv[1..], in our
    // environment and current folder. False on failure, with error() holding the
    // system error number (ENOENT for a program not found).
    bool start(const std::string& program, const std::vector<std::string>& args,
               ErrorStream errors = ErrorStream::WithOutput);
    int error() const { return _error; }
    bool started() const { return _pid > 0; }
    pid_t pid() const { return _pid; }

    // Bytes waiting in the output pipe now.
    size_t availableOutput() const;
    // Reads what is there without waiting: the byte count, 0 when nothing waits,
    // -1 at the end of the stream (every writer gone) or on an error.
    ssize_t readOutput(char* buffer, size_t size);
    // The same for standard error when started with ErrorStream::Separate (else -1).
    ssize_t readError(char* buffer, size_t size);

    // True once the child has ended (it is then reaped); `code` gets its exit status,
    // or 128 + the signal number when a signal ended it.
    bool pollExit(int* code);
    // SIGKILL and reap; false when there is no running child.
    bool kill();
    // Closes the pipes (the child, if still running, sees its input end).
    void closePipes();

private:
    pid_t _pid = -1;
    bool _reaped = false;
    int _error = 0;
    int _stdinWrite = -1;
    int _stdoutRead = -1;
    int _stderrRead = -1;
};

}  // namespace platform
