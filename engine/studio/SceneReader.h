#pragma once
// Reads a scene file into a node tree (through the scene-file loader,
// engine/studio/CSLoader.h) and finds the nodes of the last scene by tag.
// Main thread only.
#include <string>

#include "engine/scene/Node.h"

namespace studio {

class SceneReader {
public:
    enum class AttachComponentType { EMPTY_NODE = 0, RENDER_NODE = 1, DEFAULT = EMPTY_NODE };

    static SceneReader* getInstance();
    static void destroyInstance();
    static const char* sceneReaderVersion() { return "1.2.0.0"; }

    // The scene (autoreleased), kept until the next read; nullptr, with the
    // loader's log line, when the file cannot be read.
    engine::Node* createNodeWithSceneFile(const std::string& fileName,
                                          AttachComponentType type = AttachComponentType::DEFAULT);
    // The first node of the last scene (depth first, the scene included) with that tag.
    engine::Node* getNodeByTag(int tag) const;
    AttachComponentType getAttachComponentType() const { return _attachComponentType; }

private:
    SceneReader() = default;
    ~SceneReader();
    engine::Node* _scene = nullptr;  // retained
    AttachComponentType _attachComponentType = AttachComponentType::DEFAULT;
};

}  // namespace studio
