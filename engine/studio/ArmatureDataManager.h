#pragma once
// The armatures known by name, read from armature files (the form is described
// in engine/studio/Armature.h). Main thread only, except where said.
//
// addArmatureFileInfoAsync reads its files on a worker thread (the config file
// is also parsed there) and reports progress on the main thread, from the
// director's scheduler: after each file of the request the callback gets the
// percent of the request's files done (0 to 100), the last call 100, after the
// config's armatures were added. A file that is missing or refused counts as done
// (with a log line) and adds nothing. The target is retained from the request
// until its last call, so it cannot go while the load runs.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/base/Map.h"
#include "engine/base/Ref.h"
#include "engine/studio/Armature.h"
#include "engine/studio/DataRecords.h"

namespace studio {

class ArmatureDataManager {
public:
    static ArmatureDataManager* getInstance();

    // Reads the config file (found through the search paths) and adds its
    // armatures, replacing those of the same names. False (with a log line) when
    // it is missing or refused.
    bool addArmatureFileInfo(const std::string& configFilePath);
    // The same from the file's text; `source` names it in log lines.
    bool addArmatureFromJsonText(std::string_view text, const std::string& source);

    // One file to read: the config.
    void addArmatureFileInfoAsync(const std::string& configFilePath, engine::Ref* target,
                                  std::function<void(float percent)> callback);
    // Three: the image, the sprite sheet and the config (the first two are only
    // read: armatures draw nothing of their own).
    void addArmatureFileInfoAsync(const std::string& imagePath, const std::string& plistPath,
                                  const std::string& configFilePath, engine::Ref* target,
                                  std::function<void(float percent)> callback);

    const ArmatureDef* getArmatureDef(const std::string& name) const;
    void removeArmatureData(const std::string& name);
    // Removes the armatures a config file added (by the name it was added under),
    // those another file replaced since included.
    void removeArmatureFileInfo(const std::string& configFilePath);
    // The armatures' bones and movements as data objects, by armature name (made
    // when an armature is added), and the texture records scripts add.
    const engine::Map<std::string, ArmatureData*>& getArmatureDatas() const { return _armatureDatas; }
    const engine::Map<std::string, AnimationData*>& getAnimationDatas() const { return _animationDatas; }
    const engine::Map<std::string, TextureData*>& getTextureDatas() const { return _textureDatas; }
    ArmatureData* getArmatureData(const std::string& name) const { return _armatureDatas.at(name); }
    AnimationData* getAnimationData(const std::string& name) const { return _animationDatas.at(name); }
    void addTextureData(const std::string& id, TextureData* textureData) {
        if (textureData) _textureDatas.insert(id, textureData);
    }
    TextureData* getTextureData(const std::string& id) const { return _textureDatas.at(id); }
    void removeTextureData(const std::string& id) { _textureDatas.erase(id); }
    // Requests whose last call has not come yet.
    size_t pendingLoadCount() const { return _requests.size(); }

    // Parses an armature file; false with the reason in *why. Any thread.
    static bool parseArmatures(std::string_view text, std::vector<ArmatureDef>* out, std::string* why);

private:
    ArmatureDataManager() = default;
    ~ArmatureDataManager();

    struct Request;
    void addArmature(ArmatureDef armature, const std::string& source);
    void startRequest(std::vector<std::string> files, engine::Ref* target, std::function<void(float)> callback);
    // Main thread, every frame while requests run: delivers what the workers finished.
    void deliver();
    void ensurePolling();

    std::unordered_map<std::string, ArmatureDef> _armatures;
    std::unordered_map<std::string, std::vector<std::string>> _armaturesByFile;   // config -> names
    engine::Map<std::string, ArmatureData*> _armatureDatas;
    engine::Map<std::string, AnimationData*> _animationDatas;
    engine::Map<std::string, TextureData*> _textureDatas;
    std::vector<std::shared_ptr<Request>> _requests;   // main thread
    std::vector<std::thread> _workers;                 // main thread
};

}  // namespace studio
