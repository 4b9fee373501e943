#include "scripting/ScriptValue.h"

#include "engine/base/Ref.h"

namespace engine {

ScriptValue::ScriptValue(const ScriptValue& other) { copyFrom(other); }

ScriptValue& ScriptValue::operator=(const ScriptValue& other) {
    if (this != &other) {
        release();
        copyFrom(other);
    }
    return *this;
}

ScriptValue::~ScriptValue() { release(); }

void ScriptValue::copyFrom(const ScriptValue& other) {
    _type = other._type;
    switch (_type) {
    case STRING: _value.stringValue = new std::string(*other._value.stringValue); break;
    case DICT: _value.dictValue = new Dict(*other._value.dictValue); break;
    case ARRAY: _value.arrayValue = new Array(*other._value.arrayValue); break;
    case OBJECT:
        _value.objectValue = other._value.objectValue;
        if (_value.objectValue) _value.objectValue->retain();
        _objectTypeName = new std::string(*other._objectTypeName);
        break;
    default: _value = other._value; break;
    }
}

void ScriptValue::release() {
    switch (_type) {
    case STRING: delete _value.stringValue; break;
    case DICT: delete _value.dictValue; break;
    case ARRAY: delete _value.arrayValue; break;
    case OBJECT:
        if (_value.objectValue) _value.objectValue->release();
        delete _objectTypeName;
        _objectTypeName = nullptr;
        break;
    default: break;
    }
    _type = INT;
    _value.intValue = 0;
}

ScriptValue ScriptValue::intValue(int value) {
    ScriptValue v;
    v._type = INT;
    v._value.intValue = value;
    return v;
}

ScriptValue ScriptValue::floatValue(float value) {
    ScriptValue v;
    v._type = FLOAT;
    v._value.floatValue = value;
    return v;
}

ScriptValue ScriptValue::booleanValue(bool value) {
    ScriptValue v;
    v._type = BOOLEAN;
    v._value.boolValue = value;
    return v;
}

ScriptValue ScriptValue::stringValue(const char* value) {
    return stringValue(std::string(value ? value : ""));
}

ScriptValue ScriptValue::stringValue(const std::string& value) {
    ScriptValue v;
    v._type = STRING;
    v._value.stringValue = new std::string(value);
    return v;
}

ScriptValue ScriptValue::dictValue(const Dict& value) {
    ScriptValue v;
    v._type = DICT;
    v._value.dictValue = new Dict(value);
    return v;
}

ScriptValue ScriptValue::arrayValue(const Array& value) {
    ScriptValue v;
    v._type = ARRAY;
    v._value.arrayValue = new Array(value);
    return v;
}

ScriptValue ScriptValue::objectValue(Ref* object, const char* typeName) {
    return objectValue(object, std::string(typeName ? typeName : ""));
}

ScriptValue ScriptValue::objectValue(Ref* object, const std::string& typeName) {
    ScriptValue v;
    v._type = OBJECT;
    v._value.objectValue = object;
    if (object) object->retain();
    v._objectTypeName = new std::string(typeName);
    return v;
}

}  // namespace engine
