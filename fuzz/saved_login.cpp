// The saved-login file as a user's disk may hold it: the plain key/value reader and
// the protected form's Base64 and unprotection never crash on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "portal/SavedLogin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const portal::SavedLogin map = portal::parseKeyValueLines(text);
    portal::parseKeyValueLines(portal::serializeKeyValueLines(map));
    std::string bytes;
    if (portal::base64Decode(text, bytes)) portal::base64Encode(bytes);
    std::string plain;
    portal::unprotectLoginBlob(text, plain);
    return 0;
}
