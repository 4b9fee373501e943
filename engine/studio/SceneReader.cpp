#include "engine/studio/SceneReader.h"

#include "engine/studio/CSLoader.h"

namespace studio {

namespace {
SceneReader* g_reader = nullptr;

engine::Node* findByTag(engine::Node* node, int tag) {
    if (!node) return nullptr;
    if (node->getTag() == tag) return node;
    for (engine::Node* child : node->getChildren()) {
        if (engine::Node* found = findByTag(child, tag)) return found;
    }
    return nullptr;
}
}  // namespace

SceneReader* SceneReader::getInstance() {
    if (!g_reader) g_reader = new SceneReader;
    return g_reader;
}

void SceneReader::destroyInstance() {
    delete g_reader;
    g_reader = nullptr;
}

SceneReader::~SceneReader() {
    if (_scene) _scene->release();
}

engine::Node* SceneReader::createNodeWithSceneFile(const std::string& fileName, AttachComponentType type) {
    _attachComponentType = type;
    engine::Node* scene = engine::CSLoader::getInstance()->createNode(fileName);
    engine::assignRetained(_scene, scene);
    return scene;
}

engine::Node* SceneReader::getNodeByTag(int tag) const { return findByTag(_scene, tag); }

}  // namespace studio
