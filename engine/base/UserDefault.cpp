#include "engine/base/UserDefault.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace engine {

namespace {
UserDefault* instance = nullptr;
}

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
    const std::string text = files->getStringFromFile(_path);
    rapidjson::Document document;
    std::string error;
    if (!parseJson(text, document, &error) || !document.IsObject()) {
        log("UserDefault: %s is damaged (%s); starting with no saved values", _path.c_str(),
            error.empty() ? "not an object" : error.c_str());
        return;
    }
    size_t dropped = 0;
    for (const auto& member : document.GetObject()) {
        if (!member.value.IsString()) {
            ++dropped;
            continue;
        }
        _values.insert_or_assign(std::string(member.name.GetString(), member.name.GetStringLength()),
                                 std::string(member.value.GetString(), member.value.GetStringLength()));
    }
    if (dropped) log("UserDefault: dropped %zu values of %s that are not text", dropped, _path.c_str());
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

bool UserDefault::flush() {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    writer.StartObject();
    for (const auto& [key, value] : _values) {
        writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
        writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
    }
    writer.EndObject();
    FileUtils* files = FileUtils::getInstance();
    const std::string folder = _path.substr(0, _path.rfind('/') + 1);
    if (!folder.empty()) files->createDirectory(folder);
    if (files->writeStringToFile(std::string(buffer.GetString(), buffer.GetSize()), _path)) return true;
    log("UserDefault: could not save %s; the values stay in memory", _path.c_str());
    return false;
}

}  // namespace engine
