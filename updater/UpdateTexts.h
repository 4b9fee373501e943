#pragma once
// The update front end's replaceable texts. Each starts out as its own key and is
// replaced from the language file "autoupdate/lang.json" when the loading scene is
// built: a JSON object of language tables ("vi", "th", "tw", "en"), each mapping text
// keys to strings, or a root object holding the keys itself. Main thread only.
#include <string>

#include <rapidjson/document.h>

namespace updater {

struct UpdateTexts {
    std::string auCheckUpdate = "au_checkupdate";   // status of the check step
    std::string auUpdate = "au_update";             // head of the download line
    std::string reserr0 = "reserr_0";               // updater error 0
    std::string reserr1_0 = "reserr_1_0";           // updater error 1, then " " + detail
    std::string reserr1_1 = "reserr_1_1";           // updater error 1, detail "x,404"
    std::string reserr2 = "reserr_2";
    std::string reserr3 = "reserr_3";
    std::string alertTitle = "alert_title";
    std::string alertRetry = "alert_retry";
    std::string gwerrNet = "gwerr_net";             // gateway unreachable or not a success
    std::string gwerrJson = "gwerr_json";           // gateway reply is not JSON
};

// The process's texts.
UpdateTexts& updateTexts();

// The text of a key ("au_checkupdate" .. "gwerr_json"); an unknown key is its own text.
std::string updateText(const std::string& key);

// The alert text of an updater error outside 0 to 3 (the progress lines are the
// loading scene's own).
inline constexpr const char* kUnknownErrorText = "unkown";

// The language table asked for by a locale code: "th" for th*, "tw" for zh*,
// "vi" for everything else (English and an empty code included).
std::string langCodeForLocale(const std::string& locale);

// Copies the known keys of `table` whose values are strings into the texts; other
// members, and a table that is not an object, change nothing.
void applyLangTexts(const rapidjson::Value& table);

// Applies a language file's text for `locale`: the table of the chosen language
// when it is an object, else "en" when it is an object, else the root. A text that
// is not JSON logs "lang.json jsonerr: %d" and changes nothing (returns false).
bool applyLangFile(const std::string& text, const std::string& locale);

}  // namespace updater
