#include "engine/base/UserDefault.h"

#include <charconv>
#include <cstdio>
#include <system_error>

#include "engine/base/Log.h"
#include "engine/base/UserDefaultFile.h"
#include "engine/files/FileUtils.h"

namespace engine {

namespace {
UserDefault* instance = nullptr;
}

bool UserDefault::isXMLFileExist() { return FileUtils::getInstance()->isFileExist(getXMLFilePath()); }

UserDefault* UserDefault::getInstance() {
    if (!instance) instance = new UserDefault();
    return instance;
}

void UserDefault::destroyInstance() {
    delete instance;
    instance = nullptr;
}

UserDefault::UserDefault() : _path(FileUtils::getInstance()->getWritablePath() + kFileName) { load(); }

void UserDefault::load() {
    FileUtils* files = FileUtils::getInstance();
    if (!files->isFileExist(_path)) return;
    UserDefaultValues values;
    const UserDefaultXmlRead read = readUserDefaultXml(files->getStringFromFile(_path), &values);
    if (!read.ok) {
        log("UserDefault: %s is damaged (%s); starting with no saved values", _path.c_str(), read.error.c_str());
        _keepDamaged = true;
        return;
    }
    _values = std::move(values);
    if (read.skipped) {
        log("UserDefault: dropped %zu damaged values of %s", read.skipped, _path.c_str());
        _keepDamaged = true;
    }
}

std::string UserDefault::getStringForKey(const std::string& key, const std::string& defaultValue) const {
    auto found = _values.find(key);
    return found == _values.end() ? defaultValue : found->second;
}

void UserDefault::setStringForKey(const std::string& key, const std::string& value) {
    auto [it, added] = _values.try_emplace(key, value);
    if (!added) {
        if (it->second == value) return;
        it->second = value;
    }
    flush();
}

namespace {

// The whole text as a T; false for anything else (blanks and trailing bytes included).
template <class T>
bool parseWhole(const std::string& text, T* out) {
    const char* end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, *out);
    return error == std::errc() && next == end && !text.empty();
}

template <class T>
std::string shortestText(T value) {
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace

bool UserDefault::getBoolForKey(const std::string& key, bool defaultValue) const {
    auto found = _values.find(key);
    if (found == _values.end()) return defaultValue;
    if (found->second == "true") return true;
    if (found->second == "false") return false;
    return defaultValue;
}

void UserDefault::setBoolForKey(const std::string& key, bool value) { setStringForKey(key, value ? "true" : "false"); }

int UserDefault::getIntegerForKey(const std::string& key, int defaultValue) const {
    auto found = _values.find(key);
    int value = 0;
    return found != _values.end() && parseWhole(found->second, &value) ? value : defaultValue;
}

void UserDefault::setIntegerForKey(const std::string& key, int value) { setStringForKey(key, shortestText(value)); }

float UserDefault::getFloatForKey(const std::string& key, float defaultValue) const {
    auto found = _values.find(key);
    float value = 0;
    return found != _values.end() && parseWhole(found->second, &value) ? value : defaultValue;
}

void UserDefault::setFloatForKey(const std::string& key, float value) { setStringForKey(key, shortestText(value)); }

double UserDefault::getDoubleForKey(const std::string& key, double defaultValue) const {
    auto found = _values.find(key);
    double value = 0;
    return found != _values.end() && parseWhole(found->second, &value) ? value : defaultValue;
}

void UserDefault::setDoubleForKey(const std::string& key, double value) { setStringForKey(key, shortestText(value)); }

void UserDefault::deleteValueForKey(const std::string& key) {
    if (_values.erase(key) > 0) flush();
}

bool UserDefault::flush() {
    const std::string text = writeUserDefaultXml(_values);
    FileUtils* files = FileUtils::getInstance();
    const std::string folder = _path.substr(0, _path.rfind('/') + 1);
    if (!folder.empty()) files->createDirectory(folder);
    if (_keepDamaged) {
        // What could not be read is kept for a person to look at, not overwritten.
        const std::string backup = _path + kDamagedSuffix;
        if (std::rename(_path.c_str(), backup.c_str()) == 0) {
            log("UserDefault: kept the damaged file as %s", backup.c_str());
        } else {
            log("UserDefault: could not keep the damaged file as %s", backup.c_str());
        }
        _keepDamaged = false;
    }
    if (files->writeStringToFile(text, _path)) return true;
    log("UserDefault: could not save %s; the values stay in memory", _path.c_str());
    return false;
}

}  // namespace engine
