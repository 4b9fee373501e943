// Navigation meshes: built from triangles and off-mesh links, refused when they
// cannot be walked, and agents walking them to their goals in a running scene.
#include <gtest/gtest.h>

#include <recastnavigation/DetourCrowd.h>
#include <recastnavigation/DetourNavMesh.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <optional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/navmesh/NavMeshBuilder.h"
#include "engine/navmesh/NavMeshObstacle.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "support/CpuTime.h"
#include "support/HeapPeak.h"
#include "support/TestSupport.h"

using namespace engine;

namespace {

// A flat square floor at height y, corners (x0, z0) and (x1, z1).
void addFloor(NavMeshGeometry* g, float x0, float z0, float x1, float z1, float y = 0.f) {
    const int base = static_cast<int>(g->vertices.size() / 3);
    g->vertices.insert(g->vertices.end(), {x0, y, z0, x1, y, z0, x1, y, z1, x0, y, z1});
    // Counter-clockwise seen from above: the faces look up.
    g->triangles.insert(g->triangles.end(), {base, base + 2, base + 1, base, base + 3, base + 2});
}

struct NavMeshTest : ::testing::Test {
    ~NavMeshTest() override {
        if (scene) {
            scene->onExit();
            scene->release();
        }
        AutoreleasePool::getInstance()->clear();
        Director::destroyInstance();
        AutoreleasePool::getInstance()->clear();
    }

    // A running scene with the mesh, and a node at (x, y) carrying a new agent.
    NavMeshAgent* agentOnMesh(NavMesh* mesh, float x, float y) {
        scene = Scene::create();
        scene->retain();
        scene->setNavMesh(mesh);
        Node* node = Node::create();
        node->setPosition(x, y);
        scene->addChild(node);
        NavMeshAgent* agent = NavMeshAgent::create(NavMeshAgentParam{});
        node->addComponent(agent);
        scene->onEnter();
        return agent;
    }

    // Steps the scheduler at 60 frames a second until done() or the time is up.
    template <class Done>
    void runFor(float seconds, Done done) {
        Scheduler* scheduler = Director::getInstance()->getScheduler();
        for (int frame = 0; frame < seconds * 60 && !done(); ++frame) scheduler->update(1.f / 60.f);
    }

    // Steps frames (each followed by a short rest) until the mesh's build has
    // ended; the longest frame's seconds, and the frames stepped, go to the
    // optional outputs.
    void waitForBuild(NavMesh* mesh, double* longestFrame = nullptr, int* frames = nullptr) {
        Scheduler* scheduler = Director::getInstance()->getScheduler();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        double longest = 0.0;
        int stepped = 0;
        while (mesh->isBuilding() && std::chrono::steady_clock::now() < deadline) {
            const auto started = std::chrono::steady_clock::now();
            scheduler->update(1.f / 60.f);
            longest = std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
            ++stepped;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_FALSE(mesh->isBuilding());
        if (longestFrame) *longestFrame = longest;
        if (frames) *frames = stepped;
    }

    Scene* scene = nullptr;
};

// A floor side units wide of cells x cells squares, as OBJ text.
std::string floorObj(float side, int cells) {
    std::string obj;
    char line[96];
    for (int z = 0; z <= cells; ++z)
        for (int x = 0; x <= cells; ++x) {
            std::snprintf(line, sizeof line, "v %g 0 %g\n", side * static_cast<float>(x) / static_cast<float>(cells),
                          side * static_cast<float>(z) / static_cast<float>(cells));
            obj += line;
        }
    for (int z = 0; z < cells; ++z)
        for (int x = 0; x < cells; ++x) {
            const int a = z * (cells + 1) + x + 1, b = a + cells + 1;
            std::snprintf(line, sizeof line, "f %d %d %d\nf %d %d %d\n", a, b, b + 1, a, b + 1, a + 1);
            obj += line;
        }
    return obj;
}

TEST_F(NavMeshTest, UnwalkableGeometryIsRefused) {
    NavMeshGeometry floor;
    addFloor(&floor, -5, -5, 5, 5);
    NavMeshGeometry wall;   // upright: nothing to stand on
    wall.vertices = {0, 0, 0, 5, 0, 0, 5, 5, 0, 0, 5, 0};
    wall.triangles = {0, 1, 2, 0, 2, 3};
    NavMeshGeometry badIndex = floor;
    badIndex.triangles[4] = 4;
    NavMeshGeometry negativeIndex = floor;
    negativeIndex.triangles[0] = -1;
    NavMeshGeometry notFinite = floor;
    notFinite.vertices[3] = std::nanf("");
    NavMeshGeometry huge = floor;
    huge.vertices[0] = 1e9f;
    NavMeshGeometry tiny;       // smaller than an agent
    addFloor(&tiny, 0, 0, 0.5f, 0.5f);

    struct Case {
        const char* name;
        const NavMeshGeometry& geometry;
        bool builds;
    } cases[] = {
        {"floor", floor, true},
        {"empty", NavMeshGeometry{}, false},
        {"wall", wall, false},
        {"index past the vertices", badIndex, false},
        {"negative index", negativeIndex, false},
        {"NaN vertex", notFinite, false},
        {"far vertex", huge, false},
        {"floor smaller than an agent", tiny, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        dtNavMesh* built = buildDetourNavMesh(c.geometry, &error);
        EXPECT_EQ(built != nullptr, c.builds) << error;
        EXPECT_EQ(error.empty(), c.builds);
        EXPECT_EQ(NavMesh::createWithGeometry(c.geometry) != nullptr, c.builds);
        if (built) dtFreeNavMesh(built);
    }
    // From a file, the refusal names it.
    testsupport::TempDir dir;
    std::string obj;
    for (int i = 0; i < 10; ++i) {
        const float y = 2.5f * static_cast<float>(i);
        char floor[160];
        std::snprintf(floor, sizeof floor, "v 0 %g 0\nv 300 %g 0\nv 300 %g 300\nv 0 %g 300\nf %d %d %d\nf %d %d %d\n", y, y, y,
                      y, 4 * i + 1, 4 * i + 3, 4 * i + 2, 4 * i + 1, 4 * i + 4, 4 * i + 3);
        obj += floor;
    }
    dir.write("floors.obj", obj);
    testsupport::LogCapture log;
    NavMesh* refused = NavMesh::create(dir.path() + "/floors.obj");
    ASSERT_NE(refused, nullptr);   // the build runs on, and is refused later
    waitForBuild(refused);
    EXPECT_TRUE(log.contains("NavMesh: cannot build " + dir.path() + "/floors.obj: the mesh makes more than 4 Mi voxel spans"))
        << log.text();
    Vec3 nearest;
    EXPECT_FALSE(refused->findNearestPoint(Vec3(10, 0, 10), &nearest, nullptr, true));   // empty for good
}

// Small hostile models against the build's budget: each is refused, or built,
// within bounded processor time and memory, and a refusal says why.
TEST_F(NavMeshTest, BuildStaysWithinItsBudget) {
    // Floors of side units stacked 2.5 apart.
    const auto stacked = [](int floors, float side) {
        NavMeshGeometry g;
        for (int i = 0; i < floors; ++i) addFloor(&g, 0, 0, side, side, 2.5f * static_cast<float>(i));
        return g;
    };
    // count long thin quads, half along x and half along z, crossing in a grid.
    NavMeshGeometry crossing;
    for (int i = 0; i < 114; ++i) {
        const float at = static_cast<float>(i / 2) * 10.f, length = 570.f;
        const int base = static_cast<int>(crossing.vertices.size() / 3);
        if (i % 2 == 0) crossing.vertices.insert(crossing.vertices.end(), {0, 0, at, length, 0, at, length, 0, at + 6, 0, 0, at + 6});
        else crossing.vertices.insert(crossing.vertices.end(), {at, 0.1f, 0, at + 6, 0.1f, 0, at + 6, 0.1f, length, at, 0.1f, length});
        crossing.triangles.insert(crossing.triangles.end(), {base, base + 2, base + 1, base, base + 3, base + 2});
    }
    NavMeshGeometry many;
    for (int i = 0; i < 200001; ++i) addFloor(&many, 0, 0, 1, 1);
    many.triangles.resize(200001 * 3);

    struct Case {
        const char* name;
        NavMeshGeometry geometry;
        const char* refusal;   // nullptr: builds
    } cases[] = {
        {"10 stacked floors", stacked(10, 300), "voxel spans"},
        {"50 stacked floors", stacked(50, 300), "voxel spans"},
        {"40 small stacked floors", stacked(40, 20), "32 layers"},
        {"20 small stacked floors", stacked(20, 20), nullptr},
        {"a floor 9000 units wide", stacked(1, 9000), nullptr},
        {"114 long crossing quads", crossing, nullptr},
        {"too many triangles", many, "200000 triangles"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        dtNavMesh* built = nullptr;
        std::optional<size_t> peak;
        const double seconds =
            testsupport::cpuSecondsFor([&] { peak = testsupport::peakHeapDuring([&] { built = buildDetourNavMesh(c.geometry, &error); }); });
        EXPECT_EQ(built != nullptr, c.refusal == nullptr) << error;
        if (c.refusal) {
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
        }
        EXPECT_LT(seconds, 10.0);
        if (peak) {
            EXPECT_LT(*peak, size_t{192} << 20);
        }
        if (built) dtFreeNavMesh(built);
    }
}

TEST_F(NavMeshTest, LinksFileLines) {
    struct Case {
        const char* text;
        const char* expected;   // "radius dir|..." per link, or the error
    } cases[] = {
        {"1 2 3 4 5 6\n", "0.6 1|"},
        {"# jump\n\n  \n1 2 3 4 5 6 1.5 0\r\n-1 0 0 1 0 0 2\n", "1.5 0|2 1|"},
        {"", ""},
        {"1 2 3 4 5\n", "bad off-mesh link at line 1"},
        {"\n1 2 3 4 5 6 x\n", "bad off-mesh link at line 2"},
        {"1 2 3 4 5 6 0\n", "bad off-mesh link at line 1"},
        {"1 2 3 4 5 6 1 2\n", "bad off-mesh link at line 1"},
        {"1 2 3 4 5 6 1 1 9\n", "bad off-mesh link at line 1"},
        {"1 2 nan 4 5 6\n", "bad off-mesh link at line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<NavMeshLink> links;
        std::string error;
        std::string got;
        if (parseNavMeshLinks(c.text, &links, &error)) {
            for (const NavMeshLink& link : links) {
                char line[64];
                std::snprintf(line, sizeof line, "%g %d|", link.radius, link.bidirectional ? 1 : 0);
                got += line;
            }
        } else {
            got = error;
            EXPECT_TRUE(links.empty());
        }
        EXPECT_EQ(got, c.expected);
    }
    std::vector<NavMeshLink> links;
    ASSERT_TRUE(parseNavMeshLinks("1 2 3 4 5 6", &links));
    EXPECT_EQ(links[0].start, Vec3(1, 2, 3));
    EXPECT_EQ(links[0].end, Vec3(4, 5, 6));
}

// Walks from (-4, 0, 0) to the goal: the callback runs once, when the agent
// stands there, with the agent and the time the walk took.
TEST_F(NavMeshTest, AgentReachesItsGoalOnce) {
    struct Case {
        const char* name;
        bool withLink;       // two floors with a gap between them, a link across
        Vec3 goal;
    } cases[] = {
        {"same floor", false, Vec3(4, 0, 3)},
        {"across a link", true, Vec3(8, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NavMeshGeometry g;
        addFloor(&g, -5, -5, 5, 5);
        if (c.withLink) {
            addFloor(&g, 6.5f, -5, 10, 5);
            g.links.push_back({Vec3(4.2f, 0, 0), Vec3(7.3f, 0, 0), 0.6f, true});
        }
        NavMesh* mesh = NavMesh::createWithGeometry(g);
        ASSERT_NE(mesh, nullptr);
        NavMeshAgent* agent = agentOnMesh(mesh, -4, 0);
        int calls = 0;
        float reported = -1.f;
        NavMeshAgent* reportedAgent = nullptr;
        agent->move(c.goal, [&](NavMeshAgent* a, float elapsed) {
            ++calls;
            reportedAgent = a;
            reported = elapsed;
        });
        float walked = 0.f;
        runFor(30.f, [&] {
            walked += calls ? 0.f : 1.f / 60.f;
            return calls > 0;
        });
        runFor(1.f, [] { return false; });   // no second call
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(reportedAgent, agent);
        EXPECT_NEAR(reported, walked, 0.05f);
        // At 3.5 units a second, no faster than the straight line allows.
        const Vec3 start(-4, 0, 0);
        EXPECT_GT(reported, (c.goal - start).length() / 3.5f);
        const Vec3 at = agent->getCurrentPosition();
        EXPECT_NEAR(at.x, c.goal.x, 0.1f);
        EXPECT_NEAR(at.z, c.goal.z, 0.1f);
        EXPECT_NEAR(agent->getOwner()->getPositionX(), c.goal.x, 0.1f);
        EXPECT_NEAR(agent->getOwner()->getPositionZ(), c.goal.z, 0.1f);
        EXPECT_FALSE(agent->isMoving());
        scene->onExit();
        scene->release();
        scene = nullptr;
    }
}

// A floor 2000 units wide of 20,000 triangles, its path across longer than the
// crowd's corridor: walked in legs to the far corner, the callback once. A goal
// far off the mesh sends the agent to the mesh point nearest to it.
TEST_F(NavMeshTest, LongAndOffMeshMovesReachTheMesh) {
    NavMeshGeometry wide;
    constexpr int n = 101;
    for (int z = 0; z < n; ++z)
        for (int x = 0; x < n; ++x)
            wide.vertices.insert(wide.vertices.end(), {x * 20.f, static_cast<float>((x * z) % 5) / 10.f, z * 20.f});
    for (int z = 0; z + 1 < n; ++z)
        for (int x = 0; x + 1 < n; ++x) {
            const int a = z * n + x;
            wide.triangles.insert(wide.triangles.end(), {a, a + n, a + n + 1, a, a + n + 1, a + 1});
        }
    NavMeshGeometry small;
    addFloor(&small, -5, -5, 5, 5);
    struct Case {
        const char* name;
        const NavMeshGeometry& geometry;
        Vec3 start, goal, reached;
        float seconds;
    } cases[] = {
        {"across a wide floor", wide, Vec3(5, 0, 5), Vec3(1995, 0, 1995), Vec3(1995, 0, 1995), 200.f},
        {"to a point far above the mesh", small, Vec3(0, 0, 0), Vec3(2, 30, 1), Vec3(2, 0, 1), 10.f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NavMesh* mesh = NavMesh::createWithGeometry(c.geometry);
        ASSERT_NE(mesh, nullptr);
        NavMeshAgent* agent = agentOnMesh(mesh, c.start.x, c.start.y);
        agent->setMaxSpeed(40.f);
        agent->setMaxAcceleration(400.f);
        int calls = 0;
        agent->move(c.goal, [&](NavMeshAgent*, float) { ++calls; });
        runFor(c.seconds, [&] { return calls > 0; });
        runFor(0.5f, [] { return false; });
        EXPECT_EQ(calls, 1);
        const Vec3 at = agent->getCurrentPosition();
        EXPECT_NEAR(at.x, c.reached.x, 1.f);
        EXPECT_NEAR(at.z, c.reached.z, 1.f);
        scene->onExit();
        scene->release();
        scene = nullptr;
    }
}

// A new move replaces the earlier one and its callback; stop drops both.
TEST_F(NavMeshTest, LaterMoveReplacesTheEarlierCallback) {
    NavMeshGeometry g;
    addFloor(&g, -5, -5, 5, 5);
    NavMeshAgent* agent = agentOnMesh(NavMesh::createWithGeometry(g), 0, 0);
    std::string calls;
    agent->move(Vec3(4, 0, 4), [&](NavMeshAgent*, float) { calls += "first "; });
    agent->move(Vec3(-3, 0, 1), [&](NavMeshAgent*, float) { calls += "second "; });
    runFor(10.f, [&] { return !calls.empty(); });
    EXPECT_EQ(calls, "second ");
    EXPECT_NEAR(agent->getCurrentPosition().x, -3.f, 0.1f);

    calls.clear();
    agent->move(Vec3(3, 0, 0), [&](NavMeshAgent*, float) { calls += "stopped "; });
    runFor(0.5f, [] { return false; });
    agent->stop();
    const float stoppedAt = agent->getCurrentPosition().x;
    runFor(5.f, [] { return false; });
    EXPECT_EQ(calls, "");
    EXPECT_LT(agent->getCurrentPosition().x, 3.f - 1.f);
    // It brakes at its acceleration (3.5 units a second, 8 a second squared).
    EXPECT_NEAR(agent->getCurrentPosition().x, stoppedAt, 1.f);
}

// Members leave the crowd with their node and when the mesh goes first.
TEST_F(NavMeshTest, MembersLeaveWithTheirNodesAndTheMesh) {
    NavMeshGeometry g;
    addFloor(&g, -5, -5, 5, 5);
    NavMesh* mesh = NavMesh::createWithGeometry(g);
    NavMeshAgent* agent = agentOnMesh(mesh, 0, 0);
    Node* rock = Node::create();
    rock->addComponent(NavMeshObstacle::create(1.f, 1.f));
    scene->addChild(rock);
    Node* walker = agent->getOwner();
    walker->retain();
    walker->removeFromParent();
    agent->move(Vec3(3, 0, 0));             // not a member: waits for the next join
    runFor(0.5f, [] { return false; });
    EXPECT_NEAR(agent->getCurrentPosition().x, 0.f, 1e-3f);
    scene->addChild(walker);                // joins again and walks
    walker->release();
    runFor(5.f, [&] { return !agent->isMoving(); });
    EXPECT_NEAR(agent->getCurrentPosition().x, 3.f, 0.1f);
    scene->setNavMesh(nullptr);             // the mesh goes; the members stay put
    AutoreleasePool::getInstance()->clear();
    runFor(0.5f, [] { return false; });
    EXPECT_EQ(scene->getNavMesh(), nullptr);
}

// An obstacle in the straight line: the agent steers round it and still arrives.
TEST_F(NavMeshTest, AgentsSteerAroundObstacles) {
    NavMeshGeometry g;
    addFloor(&g, -6, -6, 6, 6);
    NavMeshAgent* agent = agentOnMesh(NavMesh::createWithGeometry(g), -4, 0);
    Node* rock = Node::create();
    rock->setPosition3D(Vec3(0, 0, 0.1f));
    rock->addComponent(NavMeshObstacle::create(1.f, 1.f));
    scene->addChild(rock);
    agent->move(Vec3(4, 0, 0));
    float closest = 100.f;
    runFor(20.f, [&] {
        const Vec3 at = agent->getCurrentPosition();
        closest = std::min(closest, std::hypot(at.x, at.z - 0.1f));
        return !agent->isMoving();
    });
    EXPECT_FALSE(agent->isMoving());
    EXPECT_NEAR(agent->getCurrentPosition().x, 4.f, 0.1f);
    EXPECT_GT(closest, 1.f);   // never inside the obstacle (radius 1)
}

// A mesh given to a running scene takes in the members already there; a mesh
// that replaces it takes them over.
TEST_F(NavMeshTest, MembersFollowTheScenesMesh) {
    NavMeshGeometry near, far;
    addFloor(&near, -5, -5, 5, 5);
    addFloor(&far, -5, -5, 5, 5, 0.5f);
    NavMesh* first = NavMesh::createWithGeometry(near);
    NavMesh* second = NavMesh::createWithGeometry(far);
    NavMeshAgent* agent = agentOnMesh(nullptr, -3, 0);
    agent->move(Vec3(3, 0, 0));
    runFor(1.f, [] { return false; });
    EXPECT_NEAR(agent->getCurrentPosition().x, -3.f, 1e-3f);   // no mesh: it waits

    scene->setNavMesh(first);
    runFor(10.f, [&] { return !agent->isMoving(); });
    EXPECT_NEAR(agent->getCurrentPosition().x, 3.f, 0.1f);

    first->retain();   // kept by someone else: the agent must still leave its crowd
    scene->setNavMesh(second);
    agent->move(Vec3(-2, 0.5f, 2));
    runFor(10.f, [&] { return !agent->isMoving(); });
    EXPECT_NEAR(agent->getCurrentPosition().z, 2.f, 0.1f);
    EXPECT_NEAR(agent->getCurrentPosition().y, 0.5f, 0.3f);   // on the second mesh's floor
    first->update(0.1f);
    first->release();
}

// A large floor read from a file builds while frames go on, each of them short;
// meanwhile the mesh is empty and an agent entered with a move waits; once the
// mesh is ready the agent is placed and walks to its goal.
TEST_F(NavMeshTest, FileBuildLetsFramesGoOn) {
    testsupport::TempDir dir;
    const std::string file = dir.write("wide.obj", floorObj(2000.f, 100));
    NavMesh* mesh = NavMesh::create(file);
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->isBuilding());
    NavMeshAgent* agent = agentOnMesh(mesh, 10, 0);
    agent->setMaxSpeed(40.f);
    agent->setMaxAcceleration(400.f);
    int calls = 0;
    agent->move(Vec3(60, 0, 40), [&](NavMeshAgent*, float) { ++calls; });
    Vec3 nearest;
    EXPECT_FALSE(mesh->findNearestPoint(Vec3(10, 0, 10), &nearest));
    EXPECT_EQ(mesh->getCrowd(), nullptr);

    double longestFrame = 0.0;
    int frames = 0;
    waitForBuild(mesh, &longestFrame, &frames);
    EXPECT_GE(frames, 10);
    EXPECT_LT(longestFrame, 0.1);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(agent->getOwner()->getPositionX(), 10.f);   // not moved before the mesh was there

    ASSERT_TRUE(mesh->findNearestPoint(Vec3(1000, 0, 1000), &nearest));
    EXPECT_NEAR(nearest.y, 0.f, 0.3f);
    runFor(10.f, [&] { return calls > 0; });
    EXPECT_EQ(calls, 1);
    EXPECT_NEAR(agent->getCurrentPosition().x, 60.f, 1.f);
    EXPECT_NEAR(agent->getCurrentPosition().z, 40.f, 1.f);
}

// What the build was for goes away before it ends: nothing is called back on
// a freed object, and what is left builds and works.
TEST_F(NavMeshTest, OwnersGoneBeforeTheBuildEnds) {
    testsupport::TempDir dir;
    const std::string file = dir.write("wide.obj", floorObj(2000.f, 100));
    enum class Gone { AgentNode, SceneAndMesh, DirectorFirst };
    struct Case {
        const char* name;
        Gone gone;
    } cases[] = {
        {"the agent's node", Gone::AgentNode},
        {"the scene and its mesh", Gone::SceneAndMesh},
        {"the director, then the scene and its mesh", Gone::DirectorFirst},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::LogCapture log;
        NavMesh* mesh = NavMesh::create(file);
        ASSERT_NE(mesh, nullptr);
        NavMeshAgent* agent = agentOnMesh(mesh, 10, 0);
        agent->move(Vec3(60, 0, 40));
        ASSERT_TRUE(mesh->isBuilding());
        if (c.gone == Gone::AgentNode) {
            agent->getOwner()->removeFromParent();
            AutoreleasePool::getInstance()->clear();   // the node and its agent are freed
            waitForBuild(mesh);
            Vec3 nearest;
            EXPECT_TRUE(mesh->findNearestPoint(Vec3(100, 0, 100), &nearest));
            runFor(0.5f, [] { return false; });
        } else {
            if (c.gone == Gone::DirectorFirst) Director::destroyInstance();
            scene->onExit();
            scene->release();
            scene = nullptr;
            AutoreleasePool::getInstance()->clear();   // the mesh is freed while it builds
            runFor(0.5f, [] { return false; });
        }
        EXPECT_FALSE(log.contains("cannot build")) << log.text();
        if (scene) {
            scene->onExit();
            scene->release();
            scene = nullptr;
        }
        AutoreleasePool::getInstance()->clear();
    }
}

}  // namespace
