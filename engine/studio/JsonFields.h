#pragma once
// Checked reads of members of a parsed JSON object, shared by the studio's JSON
// readers (timelines, armatures, builder node graphs). Each read answers false
// after a log line "<reader>: <source>: <why>" when the member is present but
// of the wrong type or out of range; an absent member leaves the output as it
// is (or fails, for a required one). Numbers become floats only when finite and
// within the float range, ints only when whole and within the range given.
#include <rapidjson/document.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/base/Types.h"

namespace studio {

class JsonFields {
public:
    JsonFields(const char* reader, const std::string& source) : _reader(reader), _source(source) {}
    // The reasons go to *why instead of the log (for readers that run on workers).
    JsonFields(const char* reader, const std::string& source, std::string* why)
        : _reader(reader), _source(source), _why(why) {}

    // Logs the refusal (or keeps it in *why); always false.
    bool refuse(const std::string& why) const {
        if (_why) {
            *_why = why;
        } else {
            engine::log("%s: %s: %s", _reader, _source.c_str(), why.c_str());
        }
        return false;
    }

    bool isObject(const rapidjson::Value& value, const char* what) const {
        return value.IsObject() || refuse(std::string(what) + " is not an object");
    }

    bool readString(const rapidjson::Value& object, const char* key, std::string* out, bool required = false) const {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return !required || refuse(std::string("no '") + key + "'");
        if (!value->IsString()) return refuse(std::string("'") + key + "' is not a string");
        out->assign(value->GetString(), value->GetStringLength());
        return true;
    }

    bool readFloat(const rapidjson::Value& object, const char* key, float* out, bool required = false) const {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return !required || refuse(std::string("no '") + key + "'");
        if (!toFloat(*value, out)) return refuse(std::string("'") + key + "' is not a finite number");
        return true;
    }

    bool readInt(const rapidjson::Value& object, const char* key, int low, int high, int* out,
                 bool required = false) const {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return !required || refuse(std::string("no '") + key + "'");
        if (!value->IsNumber() || !(value->GetDouble() >= low && value->GetDouble() <= high) ||
            std::floor(value->GetDouble()) != value->GetDouble()) {
            return refuse(std::string("'") + key + "' is not a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high));
        }
        *out = static_cast<int>(value->GetDouble());
        return true;
    }

    bool readBool(const rapidjson::Value& object, const char* key, bool* out) const {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return true;
        if (!value->IsBool()) return refuse(std::string("'") + key + "' is not a boolean");
        *out = value->GetBool();
        return true;
    }

    // [x, y]; *found tells whether the member was there.
    bool readPair(const rapidjson::Value& object, const char* key, engine::Vec2* out, bool* found = nullptr) const {
        if (found) *found = false;
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return true;
        if (!value->IsArray() || value->Size() != 2 || !toFloat((*value)[0], &out->x) ||
            !toFloat((*value)[1], &out->y)) {
            return refuse(std::string("'") + key + "' is not a pair of numbers");
        }
        if (found) *found = true;
        return true;
    }

    // The member as an array; null (not an error) when absent. *ok false after a
    // log line when present but not an array.
    const rapidjson::Value* array(const rapidjson::Value& object, const char* key, bool* ok) const {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        *ok = true;
        if (value && !value->IsArray()) {
            *ok = refuse(std::string("'") + key + "' is not an array");
            return nullptr;
        }
        return value;
    }

    static bool toFloat(const rapidjson::Value& value, float* out) {
        if (!value.IsNumber()) return false;
        const double d = value.GetDouble();
        if (!(std::fabs(d) <= FLT_MAX)) return false;
        *out = static_cast<float>(d);
        return true;
    }

private:
    const char* _reader;
    const std::string& _source;
    std::string* _why = nullptr;
};

}  // namespace studio
