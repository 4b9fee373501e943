#include "engine/base/Json.h"

#include <rapidjson/error/en.h>

namespace engine {

bool parseJson(std::string_view text, rapidjson::Document& out, std::string* error) {
    out.Parse<rapidjson::kParseIterativeFlag>(text.data(), text.size());
    if (out.HasParseError()) {
        if (error) {
            *error = std::string(rapidjson::GetParseError_En(out.GetParseError())) + " at offset " +
                     std::to_string(out.GetErrorOffset());
        }
        return false;
    }
    return true;
}

}  // namespace engine
