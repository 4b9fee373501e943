#include "portal/PortalTestSupport.h"

#include <algorithm>
#include <filesystem>

#include "engine/files/FileUtils.h"
#include "platform/DataProtection.h"

namespace portaltest {

PortalFixture::PortalFixture()
    : _xdg("XDG_DATA_HOME", dir.path() + "/data"), _writable(dir.path() + "/writable/") {
    std::filesystem::create_directories(_writable);
    auto* files = engine::FileUtils::getInstance();
    _previousWritable = files->getWritablePath();
    files->setWritablePath(_writable);
}

PortalFixture::~PortalFixture() { engine::FileUtils::getInstance()->setWritablePath(_previousWritable); }

void PortalFixture::writeLoginFile(const std::string& text) const { dir.write("writable/vexo_login.txt", text); }

std::string PortalFixture::loginFile() const { return testsupport::readFile(writable("vexo_login.txt")); }

std::vector<std::string> PortalFixture::writableEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(_writable))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

void PortalFixture::useOtherKey() const {
    std::filesystem::create_directories(dir.path() + "/data/VEXO");
    dir.write("data/VEXO/dp.key", std::string(32, 'o'));
}

void PortalFixture::breakKey() const {
    std::filesystem::create_directories(dir.path() + "/data/VEXO");
    dir.write("data/VEXO/dp.key", std::string(31, 'b'));
}

}  // namespace portaltest
