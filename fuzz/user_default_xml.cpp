// "UserDefault.xml" as a user's disk may hold it: the reader never crashes on any
// bytes, and what it reads writes back to a document that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/base/UserDefaultFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    engine::UserDefaultValues values;
    if (!engine::readUserDefaultXml(text, &values).ok) return 0;
    engine::UserDefaultValues again;
    if (!engine::readUserDefaultXml(engine::writeUserDefaultXml(values), &again).ok || again != values) std::abort();
    return 0;
}
