#include "engine/builder/CCBReader.h"

#include <algorithm>

#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/builder/CCBAnimationManager.h"
#include "engine/builder/CCBHooks.h"
#include "engine/builder/NodeLoaderLibrary.h"
#include "engine/extension/Control.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/MenuItem.h"
#include "engine/scene/MenuItemToggle.h"
#include "engine/studio/JsonFields.h"

namespace builder {

using engine::Node;
using studio::JsonFields;

class GraphBuilder {
public:
    GraphBuilder(CCBReader& reader, const JsonFields& fields) : _reader(reader), _fields(fields) {}

    // The node of `object` with its subtree; nullptr after a logged refusal.
    Node* build(const rapidjson::Value& object, int depth, const engine::Size* rootSize) {
        if (depth > CCBReader::kMaxDepth) return refuse("nodes nested too deeply");
        if (!_fields.isObject(object, "a node")) return nullptr;
        std::string type, name, outlet, outletTarget = "owner", callback, callbackTarget = "owner";
        int tag = Node::INVALID_TAG, events = 1;
        bool visible = true, hasPosition = false, hasSize = false;
        engine::Vec2 position, size;
        if (!_fields.readString(object, "type", &type, true) || !_fields.readString(object, "name", &name) ||
            !_fields.readInt(object, "tag", -2147483647, 2147483647, &tag) || !_fields.readBool(object, "visible", &visible) ||
            !_fields.readPair(object, "position", &position, &hasPosition) ||
            !_fields.readPair(object, "size", &size, &hasSize) || !_fields.readString(object, "outlet", &outlet) ||
            !_fields.readString(object, "outletTarget", &outletTarget) ||
            !_fields.readString(object, "callback", &callback) ||
            !_fields.readString(object, "callbackTarget", &callbackTarget) ||
            !_fields.readInt(object, "controlEvents", 1, 511, &events)) {
            return nullptr;
        }
        if (!knownTarget(outletTarget) || !knownTarget(callbackTarget)) return nullptr;
        bool ok = true;
        const rapidjson::Value* children = _fields.array(object, "children", &ok);
        if (!ok) return nullptr;
        const NodeLoaderLibrary::Loader loader = _reader._library ? _reader._library->loaderFor(type) : nullptr;
        if (!loader) return refuse("unknown node type '" + type + "'");
        Node* node = loader(object, _fields);
        if (!node) return nullptr;
        node->setName(name);
        if (tag != Node::INVALID_TAG) node->setTag(tag);
        node->setVisible(visible);
        if (hasPosition) node->setPosition(position);
        if (hasSize) {
            node->setContentSize(engine::Size(size.x, size.y));
        } else if (rootSize) {
            node->setContentSize(*rootSize);
        }
        if (!outlet.empty()) record(outletTarget, outlet, node);
        if (!callback.empty()) {
            if (!dynamic_cast<engine::MenuItem*>(node) && !dynamic_cast<engine::extension::Control*>(node)) {
                return refuse("a '" + type + "' takes no callback");
            }
            recordCallback(callbackTarget, callback, node, events);
        }
        if (children) {
            auto* toggle = dynamic_cast<engine::MenuItemToggle*>(node);
            for (const rapidjson::Value& item : children->GetArray()) {
                Node* child = build(item, depth + 1, nullptr);
                if (!child) return nullptr;
                auto* choice = toggle ? dynamic_cast<engine::MenuItem*>(child) : nullptr;
                if (choice) {
                    toggle->addSubItem(choice);
                } else {
                    node->addChild(child);
                }
            }
            if (toggle && !toggle->getSubItems().empty()) toggle->setSelectedIndex(0);
        }
        return node;
    }

    bool readSequences(const rapidjson::Value& document, engine::Vector<CCBSequence*>* out) {
        bool ok = true;
        const rapidjson::Value* items = _fields.array(document, "sequences", &ok);
        if (!items) return ok;
        for (const rapidjson::Value& item : items->GetArray()) {
            std::string name;
            float duration = 0.f;
            std::vector<SequenceCallback> sequenceCallbacks;
            if (!_fields.isObject(item, "a sequence") || !_fields.readString(item, "name", &name, true) ||
                !_fields.readFloat(item, "duration", &duration, true)) {
                return false;
            }
            if (!(duration >= 0.f && duration <= CCBAnimationManager::kMaxDuration)) {
                return _fields.refuse("a sequence's 'duration' is out of range");
            }
            const rapidjson::Value* callbacks = _fields.array(item, "callbacks", &ok);
            if (!ok) return false;
            if (callbacks) {
                for (const rapidjson::Value& entry : callbacks->GetArray()) {
                    SequenceCallback callback;
                    if (!_fields.isObject(entry, "a sequence callback") ||
                        !_fields.readFloat(entry, "time", &callback.time, true) ||
                        !_fields.readString(entry, "name", &callback.name, true)) {
                        return false;
                    }
                    if (!(callback.time >= 0.f && callback.time <= duration)) {
                        return _fields.refuse("a callback's 'time' is outside its sequence");
                    }
                    sequenceCallbacks.push_back(std::move(callback));
                }
            }
            std::stable_sort(sequenceCallbacks.begin(), sequenceCallbacks.end(),
                             [](const SequenceCallback& a, const SequenceCallback& b) { return a.time < b.time; });
            CCBSequence* sequence = CCBSequence::create();
            sequence->setName(name);
            sequence->setDuration(duration);
            sequence->setSequenceId(static_cast<int>(out->size()));
            sequence->setCallbacks(std::move(sequenceCallbacks));
            out->pushBack(sequence);
        }
        return true;
    }

private:
    Node* refuse(const std::string& why) {
        _fields.refuse(why);
        return nullptr;
    }

    bool knownTarget(const std::string& target) {
        return target == "owner" || target == "root" || _fields.refuse("unknown target '" + target + "'");
    }

    void record(const std::string& target, const std::string& name, Node* node) {
        if (target == "root") {
            _reader._documentOutletNames.push_back(name);
            _reader._documentOutletNodes.pushBack(node);
        } else if (_reader._owner) {
            _reader._ownerOutletNames.push_back(name);
            _reader._ownerOutletNodes.pushBack(node);
            if (auto* assigner = dynamic_cast<CCBMemberVariableAssigner*>(_reader._owner))
                assigner->onAssignCCBMemberVariable(_reader._owner, name, node);
        }
    }

    void recordCallback(const std::string& target, const std::string& name, Node* node, int events) {
        if (target == "root") {
            _reader._documentCallbackNames.push_back(name);
            _reader._documentCallbackNodes.pushBack(node);
            _reader._documentCallbackEvents.push_back(events);
        } else if (_reader._owner) {
            _reader._ownerCallbackNames.push_back(name);
            _reader._ownerCallbackNodes.pushBack(node);
            _reader._ownerCallbackEvents.push_back(events);
            if (auto* resolver = dynamic_cast<CCBSelectorResolver*>(_reader._owner))
                resolver->onResolveCCBCallback(_reader._owner, name, node, events);
        }
    }

    CCBReader& _reader;
    const JsonFields& _fields;
};

CCBReader* CCBReader::create(NodeLoaderLibrary* library) {
    auto* reader = new CCBReader;
    reader->_library = library;
    reader->autorelease();
    return reader;
}

CCBReader::~CCBReader() { reset(nullptr); }

void CCBReader::reset(engine::Ref* owner) {
    if (owner) owner->retain();
    if (_owner) _owner->release();
    _owner = owner;
    _ownerOutletNames.clear();
    _ownerOutletNodes.clear();
    _ownerCallbackNames.clear();
    _ownerCallbackNodes.clear();
    _ownerCallbackEvents.clear();
    _documentOutletNames.clear();
    _documentOutletNodes.clear();
    _documentCallbackNames.clear();
    _documentCallbackNodes.clear();
    _documentCallbackEvents.clear();
    if (_animationManager) _animationManager->release();
    _animationManager = nullptr;
    _rootNodes.clear();
    _animationManagers.clear();
}

void CCBReader::notifyLoaded(Node* node) {
    if (auto* listener = dynamic_cast<NodeLoaderListener*>(node)) listener->onNodeLoaded(node, _library);
    const std::vector<Node*> children = node->getChildren();
    for (Node* child : children) notifyLoaded(child);
}

Node* CCBReader::readNodeGraphFromFile(const std::string& file) { return readNodeGraphFromFile(file, nullptr); }

Node* CCBReader::readNodeGraphFromFile(const std::string& file, engine::Ref* owner) {
    return readNodeGraphFromFile(file, owner, engine::Director::getInstance()->getWinSize());
}

Node* CCBReader::readNodeGraphFromFile(const std::string& file, engine::Ref* owner, const engine::Size& parentSize) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string path = file.empty() ? std::string() : files->fullPathForFilename(file);
    if (path.empty()) {
        engine::log("CCBReader: %s: no such file", file.c_str());
        reset(nullptr);
        return nullptr;
    }
    return readNodeGraphFromText(files->getStringFromFile(path), file, owner, parentSize);
}

Node* CCBReader::readNodeGraphFromText(std::string_view text, const std::string& source, engine::Ref* owner,
                                       const engine::Size& parentSize) {
    reset(owner);
    const JsonFields fields("CCBReader", source);
    rapidjson::Document document;
    std::string error;
    if (!engine::parseJson(text, document, &error)) {
        fields.refuse(error);
        reset(nullptr);
        return nullptr;
    }
    GraphBuilder builder(*this, fields);
    engine::Vector<CCBSequence*> sequences;
    const rapidjson::Value* root = fields.isObject(document, "the file") ? engine::jsonMember(document, "root") : nullptr;
    if (root && !builder.readSequences(document, &sequences)) root = nullptr;
    Node* node = root ? builder.build(*root, 0, &parentSize) : nullptr;
    if (!node) {
        if (document.IsObject() && !engine::jsonMember(document, "root")) fields.refuse("no 'root'");
        reset(nullptr);
        return nullptr;
    }
    _animationManager = CCBAnimationManager::create();
    _animationManager->retain();
    _animationManager->setSequences(sequences);
    _animationManager->setDocumentOutlets(_documentOutletNames, _documentOutletNodes);
    _animationManager->setDocumentCallbacks(_documentCallbackNames, _documentCallbackNodes);
    _animationManager->setRootNode(node);
    _rootNodes.pushBack(node);
    _animationManagers.pushBack(_animationManager);
    notifyLoaded(node);
    return node;
}

}  // namespace builder
