#include "host/config/ConfigFileReader.h"

#include <climits>
#include <utility>

#include <rapidjson/document.h>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace host {
namespace {

ConfigFileReader*& instanceSlot() {
    static ConfigFileReader* instance = nullptr;
    return instance;
}

// A positive unsigned value that fits an int port number field.
bool readPort(const rapidjson::Value& object, const char* key, int* out) {
    auto it = object.FindMember(key);
    if (it == object.MemberEnd() || !it->value.IsUint()) return false;
    unsigned v = it->value.GetUint();
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
    doc.Parse(text.c_str(), text.size());
    if (doc.HasParseError()) {
        engine::log("read json file %s failed because of %d", path.c_str(),
                    static_cast<int>(doc.GetParseError()));
        return;
    }
    if (!doc.IsObject()) return;

    auto init = doc.FindMember("init_cfg");
    if (init != doc.MemberEnd() && init->value.IsObject()) {
        const rapidjson::Value& cfg = init->value;
        auto width = cfg.FindMember("width");
        auto height = cfg.FindMember("height");
        if (width != cfg.MemberEnd() && height != cfg.MemberEnd() && width->value.IsUint() &&
            height->value.IsUint()) {
            float w = static_cast<float>(width->value.GetUint());
            float h = static_cast<float>(height->value.GetUint());
            if (h > w) std::swap(w, h);
            _initViewSize = engine::Size(w, h);
        }
        auto name = cfg.FindMember("name");
        if (name != cfg.MemberEnd() && name->value.IsString()) {
            _initName.assign(name->value.GetString(), name->value.GetStringLength());
        }
        auto landscape = cfg.FindMember("isLandscape");
        if (landscape != cfg.MemberEnd() && landscape->value.IsBool()) {
            _isLandscape = landscape->value.GetBool();
        }
        auto entry = cfg.FindMember("entry");
        if (entry != cfg.MemberEnd() && entry->value.IsString()) {
            setEntryFile(std::string(entry->value.GetString(), entry->value.GetStringLength()));
        }
        readPort(cfg, "consolePort", &_consolePort);
        readPort(cfg, "debugPort", &_debugPort);
        readPort(cfg, "uploadPort", &_uploadPort);
        auto top = cfg.FindMember("isWindowTop");
        if (top != cfg.MemberEnd() && top->value.IsBool()) _isWindowTop = top->value.GetBool();
    }

    auto sizes = doc.FindMember("simulator_screen_size");
    if (sizes != doc.MemberEnd() && sizes->value.IsArray()) {
        for (const rapidjson::Value& item : sizes->value.GetArray()) {
            if (!item.IsObject()) continue;
            auto title = item.FindMember("title");
            auto w = item.FindMember("width");
            auto h = item.FindMember("height");
            if (title == item.MemberEnd() || w == item.MemberEnd() || h == item.MemberEnd()) continue;
            if (!title->value.IsString() || !w->value.IsUint() || !h->value.IsUint()) continue;
            if (w->value.GetUint() > static_cast<unsigned>(INT_MAX) ||
                h->value.GetUint() > static_cast<unsigned>(INT_MAX)) {
                continue;
            }
            SimulatorScreenSize row;
            row.title.assign(title->value.GetString(), title->value.GetStringLength());
            row.width = static_cast<int>(w->value.GetUint());
            row.height = static_cast<int>(h->value.GetUint());
            _screenSizes.push_back(std::move(row));
        }
    }
}

}  // namespace host
