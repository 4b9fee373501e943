#pragma once
// A typed value that native code builds to hand structured data to a Lua handler:
// integer, float, boolean, string, string-keyed dictionary, array or engine object.
// A value owns what it holds (strings, dictionaries and arrays deeply; an object by
// one retain). Copies are deep and retain the object once more.
#include <list>
#include <map>
#include <string>

namespace engine {

class Ref;

class ScriptValue {
public:
    enum Type { INT = 0, FLOAT = 1, BOOLEAN = 2, STRING = 3, DICT = 4, ARRAY = 5, OBJECT = 6 };
    using Dict = std::map<std::string, ScriptValue>;
    using Array = std::list<ScriptValue>;

    ScriptValue() = default;
    ScriptValue(const ScriptValue& other);
    ScriptValue& operator=(const ScriptValue& other);
    ~ScriptValue();

    static ScriptValue intValue(int value);
    static ScriptValue floatValue(float value);
    static ScriptValue booleanValue(bool value);
    static ScriptValue stringValue(const char* value);   // null gives ""
    static ScriptValue stringValue(const std::string& value);
    static ScriptValue dictValue(const Dict& value);
    static ScriptValue arrayValue(const Array& value);
    static ScriptValue objectValue(Ref* object, const char* typeName);
    static ScriptValue objectValue(Ref* object, const std::string& typeName);

    Type getType() const { return static_cast<Type>(_type); }
    int intVal() const { return _value.intValue; }
    float floatVal() const { return _value.floatValue; }
    bool boolVal() const { return _value.boolValue; }
    const std::string& stringVal() const { return *_value.stringValue; }
    const Dict& dictVal() const { return *_value.dictValue; }
    const Array& arrayVal() const { return *_value.arrayValue; }
    Ref* objectVal() const { return _value.objectValue; }
    // Lua type name of an object value ("" for other kinds).
    const char* objectTypeName() const { return _objectTypeName ? _objectTypeName->c_str() : ""; }

private:
    void copyFrom(const ScriptValue& other);
    void release();

    union {
        int intValue;
        float floatValue;
        bool boolValue;
        std::string* stringValue;
        Dict* dictValue;
        Array* arrayValue;
        Ref* objectValue;
    } _value{0};
    int _type = INT;
    std::string* _objectTypeName = nullptr;
};

}  // namespace engine
