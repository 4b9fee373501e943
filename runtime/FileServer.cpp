#include "runtime/FileServer.h"

#include "engine/files/FileUtils.h"
#include "runtime/RuntimeEngine.h"

namespace runtime {

FileServer* FileServer::getShareInstance() {
    static FileServer* instance = new FileServer();
    return instance;
}

FileServer::FileServer() {
    _writePath = engine::FileUtils::getInstance()->getWritablePath() + "debugruntime/";
    replaceAll(_writePath, "\\", "/");
    if (_writePath.back() != '/') _writePath += '/';
}

}  // namespace runtime
