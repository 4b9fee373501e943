#pragma once
// The node types a builder file may name, each with the function that makes a
// node of that type from the file's node object (see engine/builder/CCBReader.h
// for the types and their members). Main thread only.
#include <rapidjson/document.h>

#include <string>
#include <unordered_map>

#include "engine/scene/Node.h"
#include "engine/studio/JsonFields.h"

namespace builder {

class NodeLoaderLibrary {
public:
    // Makes the node of an object (autoreleased), children left to the reader;
    // nullptr after a refusal logged through `fields`.
    using Loader = engine::Node* (*)(const rapidjson::Value& object, const studio::JsonFields& fields);

    // The shared library, with every built-in type.
    static NodeLoaderLibrary* getInstance();

    // Null for an unknown type.
    Loader loaderFor(const std::string& type) const;

private:
    NodeLoaderLibrary();
    std::unordered_map<std::string, Loader> _loaders;
};

}  // namespace builder
