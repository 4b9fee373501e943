#pragma once
// A namespace of properties: a kind ("material", "technique"...), an optional id,
// name = value pairs in the order they were added, and nested namespaces.
//
// Read from text (PropertiesReader.cpp) in this form, with // line comments
// (at the start of a word) and /* block */ comments anywhere:
//     material rock            a namespace: its kind, then an optional id
//     {                        (the brace may close the header line)
//         shininess = 12.5     a property: name = the rest of the line (up to
//                              a '}'), trimmed
//         technique { pass shiny { } }
//     }
// Values are kept as text and read as numbers and flags the way engine::Value
// reads a string ("12abc" is 12; "true"/"false" and numbers for flags). A
// namespace owns its nested namespaces: pointers to them stay valid until it
// is destroyed. Not reference counted: whoever creates one deletes it. Not
// thread-safe. A name is found through an index, so reading or adding one
// property costs the same however many a namespace holds.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace engine {

class Properties {
public:
    Properties(std::string namespaceName, std::string id);

    // The properties of a file, "file" or "file#a/b": the file's one top-level
    // namespace (or, when the file holds several or has top-level properties,
    // an unnamed namespace holding everything), then, for each name of the
    // path, the direct nested namespace with that id (else that kind). The
    // caller owns the result; nullptr for a missing or malformed file, or a
    // path that names nothing (logged).
    static Properties* createNonRefCounted(const std::string& url);
    // The unnamed namespace holding everything text declares; nullptr (reason
    // in *error) for malformed text: unbalanced braces, a header without its
    // brace, a line that is neither, or namespaces nested deeper than
    // kMaxDepth.
    static std::unique_ptr<Properties> parse(std::string_view text, std::string* error = nullptr);
    static constexpr int kMaxDepth = 64;
    ~Properties();
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;

    // The namespace's kind and its id ("" when it has none).
    const std::string& getNamespace() const { return _namespace; }
    const std::string& getId() const { return _id; }

    // The first nested namespace, depth first, whose id is id (or whose kind is
    // id when searchNames); only the direct children unless recurse. nullptr
    // when none.
    Properties* getNamespace(const std::string& id, bool searchNames = false, bool recurse = true) const;
    // The direct nested namespaces in the order they were added.
    std::vector<const Properties*> getNamespaces() const;
    // Takes the nested namespace (null is ignored); returns it.
    Properties* addNamespace(std::unique_ptr<Properties> child);

    bool exists(const std::string& name) const;
    // The value of name; defaultValue when there is no such property.
    std::string getString(const std::string& name, const std::string& defaultValue = "") const;
    bool getBool(const std::string& name, bool defaultValue = false) const;
    int getInt(const std::string& name) const;     // 0 when absent
    float getFloat(const std::string& name) const; // 0 when absent
    // Sets the value of name, adding the property when it is not there yet.
    void setString(const std::string& name, const std::string& value);

private:
    // Detaches a direct nested namespace (nullptr when child is not one).
    std::unique_ptr<Properties> takeNamespace(const Properties* child);
    const std::string* find(const std::string& name) const;

    std::string _namespace;
    std::string _id;
    std::vector<std::pair<std::string, std::string>> _properties;
    // Each name's place in _properties; kept in step by setString, its only writer.
    std::unordered_map<std::string, size_t> _index;
    std::vector<std::unique_ptr<Properties>> _namespaces;
};

}  // namespace engine
