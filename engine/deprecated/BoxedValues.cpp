#include "engine/deprecated/BoxedValues.h"

#include "engine/files/FileUtils.h"

namespace engine {

__String* __String::createWithContentsOfFile(const std::string& path) {
    FileUtils* files = FileUtils::getInstance();
    if (path.empty() || !files->isFileExist(path)) return nullptr;
    return create(files->getStringFromFile(path));
}

}  // namespace engine
