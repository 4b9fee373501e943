#pragma once
// An update manifest: a JSON object naming where the package's files are
// (packageUrl), where the newest manifest and version files are
// (remoteManifestUrl, remoteVersionUrl), the package version and the engine
// version it needs, the search paths it adds, and its assets (an object: asset
// key -> {"md5": text, "compressed": bool, "group": text}). Members of the wrong
// type are taken as absent. A manifest that could not be read (no file, not a
// JSON object) is not loaded and answers empty values. Main thread only.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/Ref.h"

namespace engine::extension {

class Manifest : public Ref {
public:
    struct Asset {
        std::string md5;
        bool compressed = false;
        std::string group;
    };

    // Autoreleased; reads the file (through FileUtils) when a name is given.
    static Manifest* create(const std::string& manifestUrl = "");
    // Reads manifest text; false (and not loaded) when it is not a JSON object.
    bool parseJSONString(std::string_view content);
    bool parseFile(const std::string& manifestUrl);

    bool isLoaded() const { return _loaded; }
    // Whether it names a version.
    bool isVersionLoaded() const { return _loaded && !_version.empty(); }
    const std::string& getPackageUrl() const { return _packageUrl; }
    const std::string& getManifestFileUrl() const { return _remoteManifestUrl; }
    const std::string& getVersionFileUrl() const { return _remoteVersionUrl; }
    const std::string& getVersion() const { return _version; }
    const std::string& getEngineVersion() const { return _engineVersion; }
    const std::vector<std::string>& getSearchPaths() const { return _searchPaths; }
    const std::map<std::string, Asset>& getAssets() const { return _assets; }
    // Both loaded with the same version.
    bool versionEquals(const Manifest* other) const;

private:
    Manifest() = default;
    void clear();

    bool _loaded = false;
    std::string _packageUrl, _remoteManifestUrl, _remoteVersionUrl, _version, _engineVersion;
    std::vector<std::string> _searchPaths;
    std::map<std::string, Asset> _assets;
};

}  // namespace engine::extension
