// The text form of Properties (see Properties.h) and the reading of a file by url.
#include <cstring>
#include <vector>

#include "engine/base/Log.h"
#include "engine/base/Properties.h"
#include "engine/files/FileUtils.h"

namespace engine {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The text without its comments, lines kept: "/* */" anywhere (its line ends
// kept), "//" at the start of a word to the end of the line.
std::string stripComments(std::string_view text, bool* unterminated) {
    std::string out;
    out.reserve(text.size());
    *unterminated = false;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "/*") == 0) {
            const size_t end = text.find("*/", i + 2);
            if (end == std::string_view::npos) {
                *unterminated = true;
                return out;
            }
            for (size_t k = i; k < end; ++k)
                if (text[k] == '\n') out += '\n';
            out += ' ';
            i = end + 2;
        } else if (text.compare(i, 2, "//") == 0 && (i == 0 || isBlank(text[i - 1]) || text[i - 1] == '{' ||
                                                     text[i - 1] == '}')) {
            while (i < text.size() && text[i] != '\n') ++i;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// "kind [id ...]": the kind and the id (the words after the id are not used).
void splitHeader(std::string_view header, std::string* kind, std::string* id) {
    std::vector<std::string_view> words;
    while (!(header = trim(header)).empty()) {
        size_t end = 0;
        while (end < header.size() && !isBlank(header[end])) ++end;
        words.push_back(header.substr(0, end));
        header.remove_prefix(end);
    }
    *kind = words.empty() ? "" : std::string(words[0]);
    *id = words.size() < 2 ? "" : std::string(words[1]);
}

}  // namespace

std::unique_ptr<Properties> Properties::parse(std::string_view text, std::string* error) {
    auto fail = [&](std::string why) -> std::unique_ptr<Properties> {
        if (error) *error = std::move(why);
        return nullptr;
    };
    bool unterminated = false;
    const std::string clean = stripComments(text, &unterminated);
    if (unterminated) return fail("a /* comment is not closed");
    auto root = std::make_unique<Properties>("", "");
    std::vector<Properties*> open{root.get()};
    std::string pendingHeader;   // a header whose "{" is still to come
    bool hasPending = false;
    int lineNumber = 0;
    size_t at = 0;
    while (at <= clean.size()) {
        size_t end = clean.find('\n', at);
        if (end == std::string::npos) end = clean.size();
        std::string_view line = clean;
        line = line.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        // A line may hold several pieces: "pass shiny { a = 1 }".
        while (!(line = trim(line)).empty()) {
            const auto where = [&](const char* what) { return std::string(what) + " on line " + std::to_string(lineNumber); };
            if (hasPending && line.front() != '{') return fail(where("a namespace header without its '{'"));
            if (line.front() == '}') {
                if (open.size() == 1) return fail(where("a '}' without its namespace"));
                open.pop_back();
                line.remove_prefix(1);
                continue;
            }
            const size_t brace = line.find_first_of("{}");
            const size_t equals = line.find('=');
            if (equals != std::string_view::npos && (brace == std::string_view::npos || equals < brace)) {
                // A property takes the rest of the line, up to a closing brace.
                const std::string_view name = trim(line.substr(0, equals));
                if (name.empty()) return fail(where("a property without a name"));
                const size_t close = line.find('}', equals);
                const size_t valueEnd = close == std::string_view::npos ? line.size() : close;
                open.back()->setString(std::string(name), std::string(trim(line.substr(equals + 1, valueEnd - equals - 1))));
                line.remove_prefix(valueEnd);
                continue;
            }
            if (brace != std::string_view::npos && line[brace] == '}' && brace > 0)
                return fail(where("a '}' after a header"));
            std::string_view header = brace == std::string_view::npos ? line : line.substr(0, brace);
            if (hasPending) {   // line starts with "{"
                header = pendingHeader;
                hasPending = false;
            } else if (brace == std::string_view::npos) {
                pendingHeader = std::string(trim(header));
                hasPending = true;
                break;
            }
            if (static_cast<int>(open.size()) > kMaxDepth) return fail(where("namespaces nested too deep"));
            std::string kind, id;
            splitHeader(header, &kind, &id);
            if (kind.empty()) return fail(where("a namespace without a kind"));
            open.push_back(open.back()->addNamespace(std::make_unique<Properties>(std::move(kind), std::move(id))));
            line.remove_prefix(brace == std::string_view::npos ? line.size() : brace + 1);
        }
    }
    if (hasPending) return fail("a namespace header without its '{' at the end");
    if (open.size() != 1) return fail("a namespace is not closed");
    return root;
}

Properties* Properties::createNonRefCounted(const std::string& url) {
    const size_t hash = url.find('#');
    const std::string file = url.substr(0, hash);
    FileUtils* files = FileUtils::getInstance();
    const std::string fullPath = file.empty() ? std::string() : files->fullPathForFilename(file);
    if (fullPath.empty()) {
        log("Properties: cannot find '%s'", file.c_str());
        return nullptr;
    }
    std::string error;
    std::unique_ptr<Properties> root = parse(files->getStringFromFile(fullPath), &error);
    if (!root) {
        log("Properties: cannot read '%s': %s", file.c_str(), error.c_str());
        return nullptr;
    }
    // The file's one namespace stands for the file.
    if (root->_properties.empty() && root->_namespaces.size() == 1) root = root->takeNamespace(root->_namespaces[0].get());
    if (hash == std::string::npos) return root.release();
    std::string_view path = std::string_view(url).substr(hash + 1);
    Properties* found = root.get();
    Properties* parent = nullptr;
    while (!path.empty() && found) {
        const size_t slash = path.find('/');
        const std::string part(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (part.empty()) continue;
        parent = found;
        found = parent->getNamespace(part, false, false);
        if (!found) found = parent->getNamespace(part, true, false);
    }
    if (!found) {
        log("Properties: '%s' names no namespace", url.c_str());
        return nullptr;
    }
    if (!parent) return root.release();
    return parent->takeNamespace(found).release();
}

}  // namespace engine
