// Redirect addresses and API replies from the network: every value reader takes any
// bytes. The first line is the key, the rest the text searched.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "portal/SignInValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\n');
    const std::string_view key = split == std::string_view::npos ? std::string_view("code") : input.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? input : input.substr(split + 1);
    portal::urlQueryValue(text, key);
    portal::urlParamValue(text, key);
    portal::urlFragmentValue(text, key);
    portal::jsonFieldValue(text, key);
    return 0;
}
