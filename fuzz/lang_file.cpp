// The update front end's language file: any text either replaces some of the texts
// with strings from the file or leaves them as they were. The first byte picks the
// locale.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/base/Log.h"
#include "updater/UpdateTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const locales[] = {"", "th-TH", "zh-CN", "en", "vi"};
    const std::string locale = size ? locales[data[0] % 5] : "";
    const std::string text(reinterpret_cast<const char*>(data) + (size ? 1 : 0), size ? size - 1 : 0);
    updater::updateTexts() = updater::UpdateTexts();
    updater::applyLangFile(text, locale);
    return 0;
}
