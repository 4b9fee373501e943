#include "engine/extension/Manifest.h"

#include "engine/base/Json.h"
#include "engine/files/FileUtils.h"

namespace engine::extension {

namespace {

std::string textOf(const rapidjson::Value& object, const char* name) {
    const rapidjson::Value* value = jsonMember(object, name);
    return value && value->IsString() ? std::string(value->GetString(), value->GetStringLength()) : std::string();
}

}  // namespace

Manifest* Manifest::create(const std::string& manifestUrl) {
    auto* manifest = new Manifest;
    if (!manifestUrl.empty()) manifest->parseFile(manifestUrl);
    manifest->autorelease();
    return manifest;
}

void Manifest::clear() {
    _loaded = false;
    _packageUrl.clear();
    _remoteManifestUrl.clear();
    _remoteVersionUrl.clear();
    _version.clear();
    _engineVersion.clear();
    _searchPaths.clear();
    _assets.clear();
}

bool Manifest::parseFile(const std::string& manifestUrl) {
    FileUtils* files = FileUtils::getInstance();
    const std::string path = files->fullPathForFilename(manifestUrl);
    if (path.empty() || !files->isFileExist(path)) {
        clear();
        return false;
    }
    return parseJSONString(files->getStringFromFile(path));
}

bool Manifest::parseJSONString(std::string_view content) {
    clear();
    rapidjson::Document document;
    if (!parseJson(content, document) || !document.IsObject()) return false;
    _packageUrl = textOf(document, "packageUrl");
    _remoteManifestUrl = textOf(document, "remoteManifestUrl");
    _remoteVersionUrl = textOf(document, "remoteVersionUrl");
    _version = textOf(document, "version");
    _engineVersion = textOf(document, "engineVersion");
    if (const rapidjson::Value* paths = jsonMember(document, "searchPaths"); paths && paths->IsArray()) {
        for (const rapidjson::Value& path : paths->GetArray()) {
            if (path.IsString()) _searchPaths.emplace_back(path.GetString(), path.GetStringLength());
        }
    }
    if (const rapidjson::Value* assets = jsonMember(document, "assets"); assets && assets->IsObject()) {
        for (const auto& member : assets->GetObject()) {
            if (!member.value.IsObject()) continue;
            Asset asset;
            asset.md5 = textOf(member.value, "md5");
            asset.group = textOf(member.value, "group");
            const rapidjson::Value* compressed = jsonMember(member.value, "compressed");
            asset.compressed = compressed && compressed->IsBool() && compressed->GetBool();
            _assets[std::string(member.name.GetString(), member.name.GetStringLength())] = std::move(asset);
        }
    }
    _loaded = true;
    return true;
}

bool Manifest::versionEquals(const Manifest* other) const {
    return other && isVersionLoaded() && other->isVersionLoaded() && _version == other->_version;
}

}  // namespace engine::extension
