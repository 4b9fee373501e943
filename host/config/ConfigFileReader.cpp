#include "host/config/ConfigFileReader.h"

#include <climits>
#include <utility>

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace host {
namespace {

ConfigFileReader*& instanceSlot() {
    static ConfigFileReader* instance = nullptr;
    return instance;
}

using engine::jsonMember;

// A positive unsigned value that fits an int port number field.
bool readPort(const rapidjson::Value& object, const char* key, int* out) {
    const rapidjson::Value* port = jsonMember(object, key);
    if (!port || !port->IsUint()) return false;
    unsigned v = port->GetUint();
    if (v == 0 || v > static_cast<unsigned>(INT_MAX)) return false;
    *out = static_cast<int>(v);
    return true;
}

}  // namespace

ConfigFileReader* ConfigFileReader::getInstance() {
    ConfigFileReader*& slot = instanceSlot();
    if (!slot) {
        slot = new ConfigFileReader();
        slot->readConfig("");
    }
    return slot;
}

void ConfigFileReader::purge() {
    ConfigFileReader*& slot = instanceSlot();
    delete slot;
    slot = nullptr;
}

void ConfigFileReader::readConfig(const std::string& filePath) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    std::string path = filePath.empty() ? files->fullPathForFilename("config.json") : filePath;
    if (path.empty()) return;
    std::string text = files->getStringFromFile(path);
    if (text.empty()) return;

    rapidjson::Document doc;
    rapidjson::ParseErrorCode code = rapidjson::kParseErrorNone;
    if (!engine::parseJson(text, doc, nullptr, &code)) {
        engine::log("read json file %s failed because of %d", path.c_str(), static_cast<int>(code));
        return;
    }
    if (!doc.IsObject()) return;

    const rapidjson::Value* init = jsonMember(doc, "init_cfg");
    if (init && init->IsObject()) {
        const rapidjson::Value& cfg = *init;
        const rapidjson::Value* width = jsonMember(cfg, "width");
        const rapidjson::Value* height = jsonMember(cfg, "height");
        if (width && height && width->IsUint() && height->IsUint()) {
            float w = static_cast<float>(width->GetUint());
            float h = static_cast<float>(height->GetUint());
            if (h > w) std::swap(w, h);
            _initViewSize = engine::Size(w, h);
        }
        const rapidjson::Value* name = jsonMember(cfg, "name");
        if (name && name->IsString()) _initName.assign(name->GetString(), name->GetStringLength());
        const rapidjson::Value* landscape = jsonMember(cfg, "isLandscape");
        if (landscape && landscape->IsBool()) _isLandscape = landscape->GetBool();
        const rapidjson::Value* entry = jsonMember(cfg, "entry");
        if (entry && entry->IsString()) {
            setEntryFile(std::string(entry->GetString(), entry->GetStringLength()));
        }
        readPort(cfg, "consolePort", &_consolePort);
        readPort(cfg, "debugPort", &_debugPort);
        readPort(cfg, "uploadPort", &_uploadPort);
        const rapidjson::Value* top = jsonMember(cfg, "isWindowTop");
        if (top && top->IsBool()) _isWindowTop = top->GetBool();
    }

    const rapidjson::Value* sizes = jsonMember(doc, "simulator_screen_size");
    if (sizes && sizes->IsArray()) {
        for (const rapidjson::Value& item : sizes->GetArray()) {
            const rapidjson::Value* title = jsonMember(item, "title");
            const rapidjson::Value* w = jsonMember(item, "width");
            const rapidjson::Value* h = jsonMember(item, "height");
            if (!title || !w || !h) continue;
            if (!title->IsString() || !w->IsUint() || !h->IsUint()) continue;
            if (w->GetUint() > static_cast<unsigned>(INT_MAX) || h->GetUint() > static_cast<unsigned>(INT_MAX)) {
                continue;
            }
            SimulatorScreenSize row;
            row.title.assign(title->GetString(), title->GetStringLength());
            row.width = static_cast<int>(w->GetUint());
            row.height = static_cast<int>(h->GetUint());
            _screenSizes.push_back(std::move(row));
        }
    }
}

}  // namespace host
