#include "engine/3d/Sprite3DCache.h"

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"

namespace engine {

namespace {
Sprite3DCache* g_cache = nullptr;
}

Sprite3DCache* Sprite3DCache::getInstance() {
    if (!g_cache) g_cache = new Sprite3DCache;
    return g_cache;
}

void Sprite3DCache::destroyInstance() {
    delete g_cache;
    g_cache = nullptr;
}

Sprite3DCache::~Sprite3DCache() {
    _alive.reset();
    _workers.joinAll();
}

Sprite3DCache::ModelData Sprite3DCache::getSpriteData(const std::string& fullPath) const {
    auto found = _models.find(fullPath);
    return found == _models.end() ? nullptr : found->second;
}

Sprite3DCache::ModelData Sprite3DCache::getModel(const std::string& fullPath) {
    if (ModelData cached = getSpriteData(fullPath)) return cached;
    auto meshes = std::make_shared<std::vector<ObjMesh>>();
    std::string error;
    if (fullPath.empty() || !readObjFullPath(fullPath, *meshes, &error)) {
        log("Sprite3D: cannot read the model %s: %s", fullPath.c_str(), error.c_str());
        return nullptr;
    }
    _models[fullPath] = meshes;
    return meshes;
}

void Sprite3DCache::loadAsync(const std::string& fullPath, LoadCallback callback) {
    _workers.joinFinished();
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    const uint64_t id = _nextLoadId++;
    _pending.emplace(id, std::move(callback));   // stays on the main thread
    std::weak_ptr<Sprite3DCache*> alive = _alive;
    // Every outcome reaches the callback the same way, from a later update.
    auto deliver = [scheduler, alive, id, fullPath](ModelData read, std::string error) {
        scheduler->performFunctionInEngineThread([alive, id, fullPath, read = std::move(read), error = std::move(error)] {
            if (std::shared_ptr<Sprite3DCache*> cache = alive.lock()) (*cache)->finishAsync(id, fullPath, read, error);
        });
    };
    if (fullPath.empty() || getSpriteData(fullPath)) {
        deliver(nullptr, "");
        return;
    }
    std::string error;
    const bool started = _workers.start(
        [fullPath, deliver] {
            auto meshes = std::make_shared<std::vector<ObjMesh>>();
            std::string error;
            ModelData read;
            if (readObjFullPath(fullPath, *meshes, &error)) read = meshes;
            deliver(std::move(read), std::move(error));
        },
        &error);
    if (!started) {
        log("Sprite3D: cannot start a loading thread: %s", error.c_str());
        deliver(nullptr, "no loading thread");
    }
}

void Sprite3DCache::finishAsync(uint64_t id, const std::string& fullPath, const ModelData& read,
                                const std::string& error) {
    auto found = _pending.find(id);
    if (found == _pending.end()) return;
    LoadCallback callback = std::move(found->second);
    _pending.erase(found);
    if (!error.empty()) log("Sprite3D: cannot read the model %s: %s", fullPath.c_str(), error.c_str());
    // A model cached meanwhile (by another load of the file) is the one given.
    ModelData model = getSpriteData(fullPath);
    if (!model && read) {
        _models[fullPath] = read;
        model = read;
    }
    if (callback) callback(model);
}

}  // namespace engine
