// Any bytes as the two files of a navigation mesh: the OBJ model before the
// first NUL byte, the off-mesh links after it. The readers and the Recast build
// give a mesh or a refusal, never a crash, a leak or memory out of proportion;
// a mesh that builds is then walked: an agent joins a running scene at the
// model's first vertex and is sent to its last for a few frames.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/3d/ObjReader.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(bytes, 0, size);
    const size_t objSize = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : size;
    const std::string links = nul ? std::string(bytes + objSize + 1, size - objSize - 1) : std::string();

    std::vector<engine::ObjMesh> meshes;
    engine::NavMeshGeometry geometry;
    if (engine::readObjData(bytes, objSize, "", meshes) && engine::navMeshGeometryFromObj(meshes, &geometry) &&
        engine::parseNavMeshLinks(links, &geometry.links)) {
        if (engine::NavMesh* mesh = engine::NavMesh::createWithGeometry(geometry)) {
            engine::Scene* scene = engine::Scene::create();
            scene->setNavMesh(mesh);
            engine::Node* node = engine::Node::create();
            node->setPosition(geometry.vertices[0], geometry.vertices[1]);
            scene->addChild(node);
            engine::NavMeshAgent* agent = engine::NavMeshAgent::create(engine::NavMeshAgentParam{});
            node->addComponent(agent);
            scene->onEnter();
            const size_t last = geometry.vertices.size() - 3;
            agent->move(engine::Vec3(geometry.vertices[last], geometry.vertices[last + 1], geometry.vertices[last + 2]));
            for (int frame = 0; frame < 30; ++frame) engine::Director::getInstance()->getScheduler()->update(0.1f);
            scene->onExit();
        }
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
