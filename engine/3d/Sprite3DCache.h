#pragma once
// The models read so far, by full path, so that a model file is read once
// however many sprites show it; and the worker threads that read models for
// Sprite3D::createAsync.
//
// Main thread only, but for the reading of loadAsync, which runs on worker
// threads of the cache's own and touches nothing of the cache: their results
// reach the main thread through the director's scheduler. A cache destroyed
// with loads in flight waits for their workers and drops their completions
// uncalled. The director's scheduler must outlive the cache.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/3d/ObjReader.h"
#include "engine/base/WorkerThreads.h"

namespace engine {

class Sprite3DCache {
public:
    using ModelData = std::shared_ptr<const std::vector<ObjMesh>>;
    // Called on the main thread with the model (null when it could not be read).
    using LoadCallback = std::function<void(ModelData)>;

    static Sprite3DCache* getInstance();
    static void destroyInstance();

    // The model read from the file at fullPath (read and kept on first use);
    // null, with the reason logged, when it cannot be read.
    ModelData getModel(const std::string& fullPath);
    // The same without blocking: callback runs once, from a later scheduler
    // update, also when the model was cached already.
    void loadAsync(const std::string& fullPath, LoadCallback callback);
    ModelData getSpriteData(const std::string& fullPath) const;
    void removeSprite3DData(const std::string& fullPath) { _models.erase(fullPath); }
    void removeAllSprite3DData() { _models.clear(); }

private:
    Sprite3DCache() = default;
    ~Sprite3DCache();
    // On the main thread: a finished load goes into the cache and to its callback.
    void finishAsync(uint64_t id, const std::string& fullPath, const ModelData& read, const std::string& error);

    std::map<std::string, ModelData> _models;
    std::map<uint64_t, LoadCallback> _pending;   // callbacks of loads in flight, by load id
    uint64_t _nextLoadId = 1;
    std::shared_ptr<Sprite3DCache*> _alive = std::make_shared<Sprite3DCache*>(this);
    WorkerThreads _workers;
};

}  // namespace engine
