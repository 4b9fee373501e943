#include "engine/studio/ArmatureDataManager.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/studio/JsonFields.h"

namespace studio {

namespace {

bool readMovement(const JsonFields& fields, const rapidjson::Value& object, const std::set<std::string>& bones,
                  MovementDef* movement) {
    if (!fields.isObject(object, "a movement") || !fields.readString(object, "name", &movement->name, true) ||
        !fields.readInt(object, "duration", 1, ArmatureDef::kMaxFrames, &movement->duration, true) ||
        !fields.readBool(object, "loop", &movement->loop)) {
        return false;
    }
    bool ok = true;
    const rapidjson::Value* events = fields.array(object, "frameEvents", &ok);
    if (!ok) return false;
    if (events) {
        for (const rapidjson::Value& item : events->GetArray()) {
            FrameEventDef event;
            if (!fields.isObject(item, "a frame event") || !fields.readString(item, "bone", &event.bone, true) ||
                !fields.readInt(item, "frame", 0, movement->duration, &event.frame, true) ||
                !fields.readString(item, "name", &event.name, true)) {
                return false;
            }
            if (!bones.count(event.bone)) return fields.refuse("a frame event names no bone: '" + event.bone + "'");
            movement->frameEvents.push_back(std::move(event));
        }
    }
    std::stable_sort(movement->frameEvents.begin(), movement->frameEvents.end(),
                     [](const FrameEventDef& a, const FrameEventDef& b) { return a.frame < b.frame; });
    return true;
}

bool readArmature(const JsonFields& fields, const rapidjson::Value& object, ArmatureDef* armature) {
    if (!fields.isObject(object, "an armature") || !fields.readString(object, "name", &armature->name, true)) {
        return false;
    }
    bool ok = true;
    std::set<std::string> bones;
    if (const rapidjson::Value* items = fields.array(object, "bones", &ok)) {
        for (const rapidjson::Value& item : items->GetArray()) {
            BoneDef bone;
            if (!fields.isObject(item, "a bone") || !fields.readString(item, "name", &bone.name, true) ||
                !fields.readString(item, "parent", &bone.parent) || !fields.readPair(item, "position", &bone.position)) {
                return false;
            }
            if (!bone.parent.empty() && !bones.count(bone.parent)) {
                return fields.refuse("bone '" + bone.name + "' names no earlier bone as its parent");
            }
            if (!bones.insert(bone.name).second) return fields.refuse("two bones named '" + bone.name + "'");
            armature->bones.push_back(std::move(bone));
        }
    }
    if (!ok) return false;
    std::set<std::string> names;
    if (const rapidjson::Value* items = fields.array(object, "movements", &ok)) {
        for (const rapidjson::Value& item : items->GetArray()) {
            MovementDef movement;
            if (!readMovement(fields, item, bones, &movement)) return false;
            if (!names.insert(movement.name).second) return fields.refuse("two movements named '" + movement.name + "'");
            armature->movements.push_back(std::move(movement));
        }
    }
    return ok;
}

// The file's bytes; nullopt when it cannot be read. Any thread.
std::optional<std::string> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

struct ArmatureDataManager::Request {
    std::vector<std::string> names;   // as given
    std::vector<std::string> paths;   // found through the search paths ("" when missing)
    engine::Ref* target = nullptr;    // retained until the last call
    std::function<void(float)> callback;
    std::thread worker;
    size_t delivered = 0;             // main thread
    std::atomic<size_t> done{0};      // files the worker finished
    // Written by the worker before `done` counts the config, read after.
    std::vector<ArmatureDef> armatures;
    std::string error;
};

ArmatureDataManager* ArmatureDataManager::getInstance() {
    static ArmatureDataManager instance;
    return &instance;
}

ArmatureDataManager::~ArmatureDataManager() {
    for (auto& request : _requests) {
        if (request->worker.joinable()) request->worker.join();
    }
}

const MovementDef* ArmatureDef::movement(const std::string& name) const {
    for (const MovementDef& m : movements) {
        if (m.name == name) return &m;
    }
    return nullptr;
}

bool ArmatureDataManager::parseArmatures(std::string_view text, std::vector<ArmatureDef>* out, std::string* why) {
    // The reasons go to *why, not to the log: this may run on a worker.
    const std::string source = "armature file";
    rapidjson::Document document;
    if (!engine::parseJson(text, document, why)) return false;
    if (!document.IsObject()) {
        *why = "the file is not an object";
        return false;
    }
    const rapidjson::Value* items = engine::jsonMember(document, "armatures");
    if (!items || !items->IsArray()) {
        *why = "'armatures' is not an array";
        return false;
    }
    std::set<std::string> names;
    for (const rapidjson::Value& item : items->GetArray()) {
        ArmatureDef armature;
        const JsonFields fields("ArmatureDataManager", source, why);
        if (!readArmature(fields, item, &armature)) return false;
        if (!names.insert(armature.name).second) {
            *why = "two armatures named '" + armature.name + "'";
            return false;
        }
        out->push_back(std::move(armature));
    }
    return true;
}

bool ArmatureDataManager::addArmatureFromJsonText(std::string_view text, const std::string& source) {
    std::vector<ArmatureDef> armatures;
    std::string why;
    if (!parseArmatures(text, &armatures, &why)) {
        engine::log("ArmatureDataManager: %s: %s", source.c_str(), why.c_str());
        return false;
    }
    for (ArmatureDef& armature : armatures) {
        addArmature(std::move(armature), source);
    }
    return true;
}

bool ArmatureDataManager::addArmatureFileInfo(const std::string& configFilePath) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string path = files->fullPathForFilename(configFilePath);
    if (path.empty()) {
        engine::log("ArmatureDataManager: %s: no such file", configFilePath.c_str());
        return false;
    }
    return addArmatureFromJsonText(files->getStringFromFile(path), configFilePath);
}

void ArmatureDataManager::addArmature(ArmatureDef armature, const std::string& source) {
    const std::string name = armature.name;
    std::vector<std::string>& names = _armaturesByFile[source];
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    _armatureDatas.insert(name, ArmatureData::create(armature));
    _animationDatas.insert(name, AnimationData::create(armature));
    _armatures.insert_or_assign(name, std::move(armature));
}

void ArmatureDataManager::removeArmatureFileInfo(const std::string& configFilePath) {
    const auto found = _armaturesByFile.find(configFilePath);
    if (found == _armaturesByFile.end()) return;
    const std::vector<std::string> names = std::move(found->second);
    _armaturesByFile.erase(found);
    for (const std::string& name : names) removeArmatureData(name);
}

void ArmatureDataManager::removeArmatureData(const std::string& name) {
    _armatures.erase(name);
    _armatureDatas.erase(name);
    _animationDatas.erase(name);
}

const ArmatureDef* ArmatureDataManager::getArmatureDef(const std::string& name) const {
    auto found = _armatures.find(name);
    return found != _armatures.end() ? &found->second : nullptr;
}

void ArmatureDataManager::addArmatureFileInfoAsync(const std::string& configFilePath, engine::Ref* target,
                                                   std::function<void(float)> callback) {
    startRequest({configFilePath}, target, std::move(callback));
}

void ArmatureDataManager::addArmatureFileInfoAsync(const std::string& imagePath, const std::string& plistPath,
                                                   const std::string& configFilePath, engine::Ref* target,
                                                   std::function<void(float)> callback) {
    startRequest({imagePath, plistPath, configFilePath}, target, std::move(callback));
}

void ArmatureDataManager::startRequest(std::vector<std::string> files, engine::Ref* target,
                                       std::function<void(float)> callback) {
    auto request = std::make_shared<Request>();
    engine::FileUtils* utils = engine::FileUtils::getInstance();
    for (const std::string& name : files) request->paths.push_back(utils->fullPathForFilename(name));
    request->names = std::move(files);
    request->target = target;
    if (target) target->retain();
    request->callback = std::move(callback);
    // The worker sees only its request: the paths it reads and the results it writes.
    Request* work = request.get();
    request->worker = std::thread([work] {
        const size_t total = work->paths.size();
        for (size_t i = 0; i < total; ++i) {
            const std::string& path = work->paths[i];
            std::optional<std::string> bytes;
            if (!path.empty()) bytes = readBytes(path);
            if (i + 1 == total) {
                if (path.empty()) {
                    work->error = "no such file";
                } else if (!bytes) {
                    work->error = "cannot be read";
                } else if (!parseArmatures(*bytes, &work->armatures, &work->error)) {
                    work->armatures.clear();
                }
            }
            work->done.store(i + 1, std::memory_order_release);
        }
    });
    _requests.push_back(std::move(request));
    ensurePolling();
}

void ArmatureDataManager::ensurePolling() {
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    if (!scheduler || scheduler->isUpdateScheduled(this)) return;
    scheduler->scheduleUpdate(this, 0, false, [this](float) { deliver(); });
}

void ArmatureDataManager::deliver() {
    // Callbacks run scripts, which may start requests: walk a copy.
    const std::vector<std::shared_ptr<Request>> requests = _requests;
    for (const std::shared_ptr<Request>& request : requests) {
        const size_t total = request->paths.size();
        const size_t done = request->done.load(std::memory_order_acquire);
        while (request->delivered < done) {
            const size_t index = request->delivered++;
            if (index + 1 == total) {
                request->worker.join();
                if (!request->error.empty()) {
                    engine::log("ArmatureDataManager: %s: %s", request->names[index].c_str(), request->error.c_str());
                }
                for (ArmatureDef& armature : request->armatures) {
                    addArmature(std::move(armature), request->names[index]);
                }
                // Out of the list before the last call, so that a new request from it stands alone.
                _requests.erase(std::find(_requests.begin(), _requests.end(), request));
            } else if (request->paths[index].empty()) {
                // The config's own absence is logged with its result.
                engine::log("ArmatureDataManager: %s: no such file", request->names[index].c_str());
            }
            const float percent = 100.f * static_cast<float>(index + 1) / static_cast<float>(total);
            if (request->callback) request->callback(percent);
            if (index + 1 == total && request->target) {
                request->target->release();
                request->target = nullptr;
            }
        }
    }
    if (_requests.empty()) {
        if (engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler()) {
            scheduler->unscheduleUpdate(this);
        }
    }
}

}  // namespace studio
