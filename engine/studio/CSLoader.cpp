#include "engine/studio/CSLoader.h"

#include <climits>
#include <optional>
#include <vector>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/base/Vector.h"
#include "engine/scene/Node.h"
#include "engine/studio/CsdReader.h"
#include "engine/studio/GUIReader.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/studio/NodeSpec.h"
#include "engine/studio/SceneFile.pb.h"

namespace engine {

namespace {

class CsbBuilder {
public:
    explicit CsbBuilder(const std::string& source) : _source(source) {}

    Node* build(const studio::csb::Node& message, int depth) {
        if (depth > CSLoader::kMaxDepth) return refuse("nodes nested too deeply");
        studio::NodeSpec spec;
        spec.type = message.type();
        spec.name = message.name();
        spec.text = message.text();
        spec.image = message.image();
        std::optional<Vec2> size, percentSize;
        if (!readPair(message.has_position(), message.position(), &spec.position) ||
            !readPair(message.has_size(), message.size(), &size) ||
            !readPair(message.has_percent_position(), message.percent_position(), &spec.layout.percentPosition) ||
            !readPair(message.has_percent_size(), message.percent_size(), &percentSize) ||
            !readFloat(message.has_font_size(), message.font_size(), &spec.fontSize) ||
            !readFloat(message.has_percent(), message.percent(), &spec.percent)) {
            return refuse("a number is not finite");
        }
        if (size) spec.size = Size(size->x, size->y);
        if (percentSize) spec.layout.percentSize = Size(percentSize->x, percentSize->y);
        if (message.has_visible()) spec.visible = message.visible();

        std::string why;
        Node* node = studio::createNode(spec, &why);
        if (!node) return refuse(why);
        for (const studio::csb::Node& item : message.children()) {
            Node* child = build(item, depth + 1);
            if (!child) return nullptr;
            node->addChild(child);
        }
        return node;
    }

private:
    Node* refuse(const std::string& why) {
        log("CSLoader: %s: %s", _source.c_str(), why.c_str());
        return nullptr;
    }

    static bool readFloat(bool present, float value, std::optional<float>* out) {
        if (!present) return true;
        if (!studio::isUsableFloat(value)) return false;
        *out = value;
        return true;
    }

    static bool readPair(bool present, const studio::csb::Pair& pair, std::optional<Vec2>* out) {
        if (!present) return true;
        if (!studio::isUsableFloat(pair.x()) || !studio::isUsableFloat(pair.y())) return false;
        *out = Vec2(pair.x(), pair.y());
        return true;
    }

    const std::string& _source;
};

bool endsWith(const std::string& name, std::string_view ending) {
    return name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

// The file's bytes when it exists; nullopt (after a log line) otherwise.
std::optional<std::string> readFile(const std::string& filename) {
    FileUtils* files = FileUtils::getInstance();
    const std::string path = files->fullPathForFilename(filename);
    if (path.empty()) {
        log("CSLoader: %s: no such file", filename.c_str());
        return std::nullopt;
    }
    return files->getStringFromFile(path);
}

}  // namespace

CSLoader* CSLoader::getInstance() {
    static CSLoader instance;
    return &instance;
}

Node* CSLoader::createNode(const std::string& filename) {
    if (endsWith(filename, ".csd")) return createNodeWithFlatBuffersForSimulator(filename);
    std::optional<std::string> bytes = readFile(filename);
    if (!bytes) return nullptr;
    if (endsWith(filename, ".json")) return studio::GUIReader::getInstance()->widgetFromJsonText(*bytes, filename);
    return nodeFromBinary(*bytes, filename);
}

Node* CSLoader::createNode(const std::string& filename, const std::function<void(Ref*)>& callback) {
    Node* root = createNode(filename);
    if (!root || !callback) return root;
    // The callback runs scripts that may change the tree: hold every node until all are reported.
    Vector<Node*> order;
    std::vector<Node*> pending{root};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        order.pushBack(node);
        const auto& children = node->getChildren();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    for (Node* node : order) callback(node);
    return root;
}

Node* CSLoader::createNodeWithFlatBuffersForSimulator(const std::string& filename) {
    std::optional<std::string> text = readFile(filename);
    return text ? nodeFromXml(*text, filename) : nullptr;
}

studio::timeline::ActionTimeline* CSLoader::createTimeline(const std::string& filename) {
    auto* cache = studio::timeline::ActionTimelineCache::getInstance();
    if (endsWith(filename, ".json")) return cache->createActionFromJson(filename);
    return cache->createActionWithFlatBuffersForSimulator(filename);
}

Node* CSLoader::nodeFromBinary(std::string_view bytes, const std::string& source) {
    studio::csb::SceneFile file;
    if (bytes.size() > static_cast<size_t>(INT_MAX) || !file.ParseFromArray(bytes.data(), static_cast<int>(bytes.size()))) {
        log("CSLoader: %s: not a binary scene file", source.c_str());
        return nullptr;
    }
    // Nodes made before a refusal are autoreleased and go with the pool.
    return CsbBuilder(source).build(file.root(), 0);
}

Node* CSLoader::nodeFromXml(std::string_view text, const std::string& source) {
    return studio::readCsd(text, source).tree;
}

}  // namespace engine
