#pragma once
// The remote-debug file server. It writes received project files under its write
// folder, "debugruntime/" inside the engine's writable folder.
#include <string>

namespace runtime {

class FileServer {
public:
    // Created on first use; creating it only computes the write folder.
    static FileServer* getShareInstance();

    // The write folder: "/" separators, always ending in "/".
    std::string getWritePath() const { return _writePath; }

private:
    FileServer();
    std::string _writePath;
};

}  // namespace runtime
