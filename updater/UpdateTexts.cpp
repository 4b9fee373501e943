#include "updater/UpdateTexts.h"

#include "engine/base/Json.h"
#include "engine/base/Log.h"

namespace updater {

UpdateTexts& updateTexts() {
    static UpdateTexts texts;
    return texts;
}

std::string langCodeForLocale(const std::string& locale) {
    const std::string head = locale.substr(0, 2);
    if (head == "th") return "th";
    if (head == "zh") return "tw";
    return "vi";
}

namespace {

struct TextKey {
    const char* key;
    std::string UpdateTexts::*text;
};

// In the order the language file is applied.
constexpr TextKey kTextKeys[] = {
    {"au_checkupdate", &UpdateTexts::auCheckUpdate}, {"au_update", &UpdateTexts::auUpdate},
    {"reserr_0", &UpdateTexts::reserr0},             {"reserr_1_0", &UpdateTexts::reserr1_0},
    {"reserr_1_1", &UpdateTexts::reserr1_1},         {"reserr_2", &UpdateTexts::reserr2},
    {"reserr_3", &UpdateTexts::reserr3},             {"alert_title", &UpdateTexts::alertTitle},
    {"alert_retry", &UpdateTexts::alertRetry},       {"gwerr_net", &UpdateTexts::gwerrNet},
    {"gwerr_json", &UpdateTexts::gwerrJson},
};

}  // namespace

std::string updateText(const std::string& key) {
    for (const TextKey& entry : kTextKeys) {
        if (key == entry.key) return updateTexts().*entry.text;
    }
    return key;
}

void applyLangTexts(const rapidjson::Value& table) {
    UpdateTexts& texts = updateTexts();
    for (const TextKey& entry : kTextKeys) {
        const rapidjson::Value* value = engine::jsonMember(table, entry.key);
        if (value && value->IsString()) {
            texts.*entry.text = std::string(value->GetString(), value->GetStringLength());
        }
    }
}

bool applyLangFile(const std::string& text, const std::string& locale) {
    rapidjson::Document doc;
    rapidjson::ParseErrorCode code = rapidjson::kParseErrorNone;
    if (!engine::parseJson(text, doc, nullptr, &code)) {
        engine::log("lang.json jsonerr: %d", static_cast<int>(code));
        return false;
    }
    const std::string chosen = langCodeForLocale(locale);
    engine::log("autoupdate lang: locale='%s' -> '%s'", locale.c_str(), chosen.c_str());
    const rapidjson::Value* table = engine::jsonMember(doc, chosen.c_str());
    if (!table || !table->IsObject()) table = engine::jsonMember(doc, "en");
    if (!table || !table->IsObject()) table = &doc;
    applyLangTexts(*table);
    return true;
}

}  // namespace updater
