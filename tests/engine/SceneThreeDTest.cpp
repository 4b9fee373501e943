// The 3D scene pieces: what camera brushes paint and when, how render states of
// a material's levels combine, materials read from text, skeletal animations
// read, sampled and played on bones, 3D particle systems and cube textures.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "../support/ImageEncoder.h"
#include "../support/TestSupport.h"
#include "engine/3d/Animate3D.h"
#include "engine/3d/Animation3D.h"
#include "engine/3d/BillBoard.h"
#include "engine/3d/CameraBackgroundBrush.h"
#include "engine/3d/Skybox.h"
#include "engine/3d/TextureCube.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Properties.h"
#include "engine/extension/PUParticleSystem3D.h"
#include "engine/files/FileUtils.h"
#include "engine/material/Material.h"
#include "engine/renderer/FrameBuffer.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Layer.h"

namespace {

using namespace engine;

struct SceneThreeDTest : ::testing::Test {
    ~SceneThreeDTest() override { AutoreleasePool::getInstance()->clear(); }
};

// The arguments of the calls of one name, in order.
std::vector<std::vector<double>> argsOf(const GLRecorder& recorder, const char* name) {
    std::vector<std::vector<double>> out;
    for (const GLRecordedCall* call : recorder.callsNamed(name)) out.push_back(call->args);
    return out;
}

TEST_F(SceneThreeDTest, BrushesPaintTheirClearValues) {
    struct Case {
        const char* what;
        CameraBackgroundBrush* brush;
        CameraBackgroundBrush::BrushType type;
        std::vector<std::vector<double>> clears;        // glClear masks
        std::vector<std::vector<double>> clearColors;
        std::vector<std::vector<double>> clearDepths;
    };
    const Case cases[] = {
        {"none", CameraBackgroundBrush::createNoneBrush(), CameraBackgroundBrush::BrushType::NONE, {}, {}, {}},
        {"depth", CameraBackgroundBrush::createDepthBrush(0.25f), CameraBackgroundBrush::BrushType::DEPTH,
         {{GL_DEPTH_BUFFER_BIT}}, {}, {{0.25}}},
        {"depth beyond 1 is clamped", CameraBackgroundBrush::createDepthBrush(3.f),
         CameraBackgroundBrush::BrushType::DEPTH, {{GL_DEPTH_BUFFER_BIT}}, {}, {{1.0}}},
        {"colour", CameraBackgroundBrush::createColorBrush(Color4F{0.5f, 0.25f, 1, 0.75f}, 0.5f),
         CameraBackgroundBrush::BrushType::COLOR, {{GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}},
         {{0.5, 0.25, 1, 0.75}}, {{0.5}}},
        {"sky without a cube clears depth only", CameraBackgroundSkyBoxBrush::create(),
         CameraBackgroundBrush::BrushType::SKYBOX, {{GL_DEPTH_BUFFER_BIT}}, {}, {{1.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.brush, nullptr);
        EXPECT_EQ(c.brush->getBrushType(), c.type);
        GLRecorder recorder;
        Camera* camera = Camera::create();
        camera->setBackgroundBrush(c.brush);
        camera->clearBackground();
        EXPECT_EQ(argsOf(recorder, "glClear"), c.clears);
        EXPECT_EQ(argsOf(recorder, "glClearColor"), c.clearColors);
        EXPECT_EQ(argsOf(recorder, "glClearDepth"), c.clearDepths);
        EXPECT_EQ(recorder.count("glDrawArrays"), 0u);
    }
}

// A camera anywhere in the tree paints before the frame's other commands; a
// camera without a context queues nothing.
TEST_F(SceneThreeDTest, ACameraPaintsItsBackgroundFirst) {
    Node* root = Node::create();
    LayerColor* layer = LayerColor::create(Color4B{10, 20, 30, 255}, 8, 8);
    root->addChild(layer);
    Camera* camera = Camera::create();
    camera->setBackgroundBrush(CameraBackgroundBrush::createColorBrush(Color4F{1, 0, 0, 1}, 1));
    root->addChild(camera);   // visited after the layer
    Renderer renderer;
    root->visit(&renderer, Mat4::IDENTITY, 0);
    EXPECT_EQ(renderer.getQueuedCommandCount(), 1u) << "no context: only the layer";
    renderer.render();

    GLRecorder recorder;
    root->visit(&renderer, Mat4::IDENTITY, 0);
    renderer.render();
    const auto& calls = recorder.calls();
    size_t clearAt = calls.size(), drawAt = calls.size();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name == "glClear" && clearAt == calls.size()) clearAt = i;
        if (calls[i].name == "glDrawElements" && drawAt == calls.size()) drawAt = i;
    }
    ASSERT_LT(drawAt, calls.size());
    EXPECT_LT(clearAt, drawAt);
}

// Each state is decided by the first level (pass, technique, material) that set it.
TEST_F(SceneThreeDTest, PassStatesOverrideTechniqueAndMaterialStates) {
    struct Expect {
        bool blend;
        bool cull;
        double cullSide;
        bool depthTest;
        double depthMask;
        double depthFunc;
    };
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> material, technique, pass;
        Expect expect;
    };
    const Case cases[] = {
        {"nothing set: the defaults", {}, {}, {}, {false, false, GL_BACK, false, GL_TRUE, GL_LESS}},
        {"material alone", {{"cullFace", "true"}, {"depthFunc", "LEQUAL"}}, {}, {},
         {false, true, GL_BACK, false, GL_TRUE, GL_LEQUAL}},
        {"technique over material",
         {{"depthFunc", "LEQUAL"}, {"cullFaceSide", "FRONT"}},
         {{"depthFunc", "ALWAYS"}},
         {},
         {false, false, GL_FRONT, false, GL_TRUE, GL_ALWAYS}},
        {"pass over both",
         {{"depthTest", "true"}, {"depthWrite", "true"}},
         {{"depthWrite", "false"}, {"blend", "true"}},
         {{"depthTest", "false"}, {"blend", "false"}},
         {false, false, GL_BACK, false, GL_FALSE, GL_LESS}},
        {"an unknown value leaves the state unset", {{"depthFunc", "SOMETIMES"}, {"blend", "yes"}}, {}, {},
         {false, false, GL_BACK, false, GL_TRUE, GL_LESS}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Material* material = Material::createWithGLStateProgram(
            GLProgramState::getOrCreateWithGLProgramName(GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR));
        ASSERT_NE(material, nullptr);
        Technique* technique = material->getTechnique();
        Pass* pass = technique->getPassByIndex(0);
        ASSERT_NE(pass, nullptr);
        EXPECT_EQ(pass->getTechnique(), technique);
        EXPECT_EQ(technique->getMaterial(), material);
        for (const auto& [name, value] : c.material) material->getStateBlock()->setState(name, value);
        for (const auto& [name, value] : c.technique) technique->getStateBlock()->setState(name, value);
        for (const auto& [name, value] : c.pass) pass->getStateBlock()->setState(name, value);
        GL::invalidateStateCache();
        GLRecorder recorder;
        pass->bind(Mat4::IDENTITY);
        auto enabled = [&](GLenum cap) {
            bool on = false;
            for (const GLRecordedCall& call : recorder.calls()) {
                if ((call.name == "glEnable" || call.name == "glDisable") && call.args[0] == cap) {
                    on = call.name == "glEnable";
                }
            }
            return on;
        };
        EXPECT_EQ(enabled(GL_BLEND), c.expect.blend);
        EXPECT_EQ(enabled(GL_CULL_FACE), c.expect.cull);
        EXPECT_EQ(enabled(GL_DEPTH_TEST), c.expect.depthTest);
        EXPECT_EQ(argsOf(recorder, "glCullFace").back()[0], c.expect.cullSide);
        EXPECT_EQ(argsOf(recorder, "glDepthMask").back()[0], c.expect.depthMask);
        EXPECT_EQ(argsOf(recorder, "glDepthFunc").back()[0], c.expect.depthFunc);
    }
}

TEST_F(SceneThreeDTest, MaterialsReadTechniquesPassesAndStatesFromText) {
    testsupport::TempDir dir;
    dir.write("flat.vert", "attribute vec4 a_position; void main() { gl_Position = a_position; }");
    dir.write("flat.frag", "void main() { gl_FragColor = vec4(1.0); }");
    const std::string path = dir.write("rock.material", R"(
material rock
{
    renderState { cullFace = true }
    technique lit
    {
        pass base
        {
            shader { vertexShader = )" + dir.file("flat.vert") + R"(
                     fragmentShader = )" + dir.file("flat.frag") + R"( }
            renderState
            {
                blend = true
                blendSrc = SRC_ALPHA
                blendDst = ONE_MINUS_SRC_ALPHA
            }
        }
        pass glow { }
    }
    technique plain
    {
        pass only
        {
            shader
            {
                vertexShader = missing.vert
                fragmentShader = missing.frag
            }
        }
    }
}
)");
    Material* material = Material::createWithFilename(path);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->getName(), "rock");
    ASSERT_EQ(material->getTechniqueCount(), 2);
    EXPECT_EQ(material->getTechnique(), material->getTechniqueByIndex(0));
    EXPECT_EQ(material->getTechniqueByIndex(2), nullptr);
    EXPECT_TRUE(material->getStateBlock()->isCullFace());

    Technique* lit = material->getTechniqueByName("lit");
    ASSERT_NE(lit, nullptr);
    ASSERT_EQ(lit->getPassCount(), 2);
    Pass* base = lit->getPassByIndex(0);
    EXPECT_EQ(base->getName(), "base");
    ASSERT_NE(base->getGLProgramState(), nullptr);
    EXPECT_NE(base->getGLProgramState()->getGLProgram()->getVertexSource().find("a_position"), std::string::npos);
    EXPECT_TRUE(base->getStateBlock()->isBlend());
    EXPECT_EQ(base->getStateBlock()->getBlendFunc(), (BlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_EQ(lit->getPassByIndex(1)->getGLProgramState(), nullptr) << "a pass without a shader";
    EXPECT_EQ(material->getTechniqueByName("plain")->getPassByIndex(0)->getGLProgramState(), nullptr);

    material->setTechnique("plain");
    EXPECT_EQ(material->getTechnique()->getName(), "plain");
    material->setTechnique("nowhere");
    EXPECT_EQ(material->getTechnique()->getName(), "plain");

    Material* copy = material->clone();
    ASSERT_EQ(copy->getTechniqueCount(), 2);
    EXPECT_NE(copy->getTechniqueByIndex(0), lit);
    EXPECT_EQ(copy->getTechnique()->getName(), "plain");
    EXPECT_TRUE(copy->getTechniqueByName("lit")->getPassByIndex(0)->getStateBlock()->isBlend());
    EXPECT_EQ(copy->getTechniqueByName("lit")->getPassByIndex(0)->getTechnique(), copy->getTechniqueByName("lit"));

    // Parts kept past their holders no longer name them.
    base->retain();
    lit->retain();
    AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(lit->getMaterial(), nullptr);
    EXPECT_EQ(base->getTechnique(), lit);
    lit->release();
    EXPECT_EQ(base->getTechnique(), nullptr);
    base->release();

    EXPECT_EQ(Material::createWithFilename(dir.file("absent.material")), nullptr);
    std::unique_ptr<Properties> notMaterial = Properties::parse("technique t { }");
    EXPECT_EQ(Material::createWithProperties(notMaterial.get()), nullptr);
}

const char kWalk[] = R"({"animations": [
    {"id": "idle", "length": 1, "bones": []},
    {"id": "walk", "length": 2, "bones": [
        {"boneId": "arm", "keyframes": [
            {"keytime": 1, "translation": [10, 20, 0], "scale": [3, 3, 1]},
            {"keytime": 0, "translation": [0, 0, 0], "rotation": [0, 0, 0, 1], "scale": [1, 1, 1]},
            {"keytime": 0.5, "rotation": [0, 0, 0.7071068, 0.7071068]}]}]}]})";

TEST_F(SceneThreeDTest, AnimationsSampleTheirKeysInOrder) {
    Animation3D walk;
    ASSERT_TRUE(walk.initWithJson(kWalk, "walk"));
    EXPECT_EQ(walk.getDuration(), 2.f);
    const Animation3D::Curve* arm = walk.getBoneCurveByName("arm");
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(walk.getBoneCurveByName("leg"), nullptr);
    struct Case {
        float t;
        Vec3 translation;
        float turnZ;   // the rotation's z
    };
    const Case cases[] = {
        {-1.f, {0, 0, 0}, 0.f},   // before the first key: the first value
        {0.25f, {2.5f, 5, 0}, 0.3826834f},
        {0.5f, {5, 10, 0}, 0.7071068f},
        {2.f, {10, 20, 0}, 0.7071068f},   // after the last key: the last value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        const Vec3 at = Animation3D::sample(arm->translation, c.t, Vec3(9, 9, 9));
        EXPECT_NEAR(at.x, c.translation.x, 1e-5f);
        EXPECT_NEAR(at.y, c.translation.y, 1e-5f);
        EXPECT_NEAR(Animation3D::sample(arm->rotation, c.t, Quaternion()).z, c.turnZ, 1e-5f);
    }
    EXPECT_EQ(Animation3D::sample({}, 0.5f, Vec3(9, 8, 7)), Vec3(9, 8, 7)) << "no keys: the fallback";

    Animation3D first;
    ASSERT_TRUE(first.initWithJson(kWalk, ""));
    EXPECT_EQ(first.getName(), "idle");

    const char* refused[] = {
        "", "[]", R"({"animations": {}})", R"({"animations": [{"id": "walk"}]})",
        R"({"animations": [{"id": "a", "length": 1, "bones": [{"boneId": "b", "keyframes": [{"keytime": 2}]}]}]})",
        R"({"animations": [{"id": "a", "length": 1, "bones": [{"boneId": "b", "keyframes": [{"keytime": 0, "scale": [1, 1]}]}]}]})",
        R"({"animations": [{"id": "a", "length": -1, "bones": []}]})",
    };
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        Animation3D animation;
        EXPECT_FALSE(animation.initWithJson(text, ""));
    }
    Animation3D named;
    EXPECT_FALSE(named.initWithJson(kWalk, "run")) << "no animation of that name";
}

TEST_F(SceneThreeDTest, Animate3DMovesTheNamedBones) {
    auto* walk = new Animation3D;
    walk->autorelease();
    ASSERT_TRUE(walk->initWithJson(kWalk, "walk"));
    struct Case {
        const char* what;
        float speed;
        float weight;
        Animate3D::Quality quality;
        float t;
        Vec2 position;
        float scaleX;
    };
    const Case cases[] = {
        {"halfway", 1, 1, Animate3D::Quality::QUALITY_HIGH, 0.5f, {5, 10}, 2},
        {"backwards at the start is the end", -2, 1, Animate3D::Quality::QUALITY_HIGH, 0.f, {10, 20}, 3},
        {"half weight mixes with the bone's own", 1, 0.5f, Animate3D::Quality::QUALITY_LOW, 1.f, {55, 10}, 2},
        {"no quality leaves the bone", 1, 1, Animate3D::Quality::QUALITY_NONE, 1.f, {100, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* model = Node::create();
        Node* body = Node::create();
        Node* arm = Node::create();
        arm->setName("arm");
        arm->setPosition(100, 0);
        body->addChild(arm);
        model->addChild(body);
        Animate3D* animate = Animate3D::create(walk);
        ASSERT_NE(animate, nullptr);
        animate->setSpeed(c.speed);
        animate->setWeight(c.weight);
        animate->setQuality(c.quality);
        EXPECT_FLOAT_EQ(animate->getDuration(), 2.f / std::fabs(c.speed));
        animate->startWithTarget(model);
        animate->update(c.t);
        EXPECT_NEAR(arm->getPositionX(), c.position.x, 1e-4f);
        EXPECT_NEAR(arm->getPositionY(), c.position.y, 1e-4f);
        EXPECT_NEAR(arm->getScaleX(), c.scaleX, 1e-4f);
    }
    EXPECT_EQ(Animate3D::create(walk, 3, 1), nullptr) << "a start past the end";
    Animate3D* frames = Animate3D::createWithFrames(walk, 15, 45, 30);
    ASSERT_NE(frames, nullptr);
    EXPECT_FLOAT_EQ(frames->getStartTime(), 0.25f);
    EXPECT_FLOAT_EQ(frames->getOriginInterval(), 1.f);
    EXPECT_FLOAT_EQ(frames->reverse()->getSpeed(), -1.f);
}

// A listener that records what the system tells it.
struct CountingListener : PUListener {
    int emitted = 0;
    int expired = 0;
    void particleEmitted(PUParticleSystem3D*, Particle3D*) override { ++emitted; }
    void particleExpired(PUParticleSystem3D*, Particle3D*) override { ++expired; }
};

TEST_F(SceneThreeDTest, ParticleSystemsEmitAgeAndExpireParticles) {
    struct Case {
        const char* what;
        float rate;
        float timeToLive;
        unsigned quota;
        int steps;   // of 0.25 s
        int alive;
        int emitted;
        int expired;
    };
    const Case cases[] = {
        {"rate 10 for 1 s", 10, 5, 100, 4, 10, 10, 0},
        {"the quota holds", 100, 5, 7, 4, 7, 7, 0},
        {"particles of 0.6 s expire", 4, 0.6f, 100, 4, 3, 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PUParticleSystem3D* system = PUParticleSystem3D::create();
        PUEmitter* emitter = PUEmitter::create();
        emitter->setEmissionRate(c.rate);
        emitter->setParticleTimeToLive(c.timeToLive);
        system->addEmitter(emitter);
        system->setParticleQuota(c.quota);
        CountingListener listener;
        system->addListener(&listener);
        system->startParticleSystem();
        for (int i = 0; i < c.steps; ++i) system->update(0.25f);
        EXPECT_EQ(system->getAliveParticleCount(), c.alive);
        EXPECT_EQ(listener.emitted, c.emitted);
        EXPECT_EQ(listener.expired, c.expired);
        system->pauseParticleSystem();
        system->update(10.f);
        EXPECT_EQ(system->getAliveParticleCount(), c.alive) << "paused: nothing changes";
        system->stopParticleSystem();
        EXPECT_EQ(system->getAliveParticleCount(), 0);
        EXPECT_EQ(listener.expired, c.emitted);
        system->removeListener(&listener);
    }
}

TEST_F(SceneThreeDTest, PUParticlesTakeTheSystemsSizeSpeedAndBehaviours) {
    PUParticleSystem3D* system = PUParticleSystem3D::create();
    system->setKeepLocal(true);
    system->setDefaultWidth(8);
    system->setDefaultHeight(4);
    system->setParticleSystemScaleVelocity(2);
    system->setMaxVelocity(150);
    PUBehaviour* behaviour = PUBehaviour::create();
    behaviour->setBehaviourType("Slave");
    system->addBehaviourTemplate(behaviour);
    PUEmitter* emitter = PUEmitter::create();
    emitter->setEmissionRate(1);
    emitter->setParticleVelocity(100);
    emitter->setParticleDirection(Vec3(0, 0, 5));
    emitter->setLocalPosition(Vec3(1, 2, 3));
    system->addEmitter(emitter);
    system->addAffector(nullptr);
    system->forceUpdate(1.f);
    ASSERT_EQ(system->getAliveParticleCount(), 1);
    const Particle3D* particle = system->getParticlePool()->getActiveDataList()[0];
    EXPECT_EQ(particle->position, Vec3(1, 2, 3));
    EXPECT_EQ(particle->direction, Vec3(0, 0, 150)) << "200 a second, cut to the top speed";
    EXPECT_EQ(particle->width, 8.f);
    EXPECT_EQ(particle->height, 4.f);
    const Vector<PUBehaviour*>* carried = system->getParticleBehaviours(particle);
    ASSERT_NE(carried, nullptr);
    ASSERT_EQ(carried->size(), 1u);
    EXPECT_NE(carried->at(0), behaviour);
    EXPECT_EQ(carried->at(0)->getBehaviourType(), "Slave");
    EXPECT_FLOAT_EQ(system->getTimeElapsedSinceStart(), 1.f);

    // Drawn as one quad per particle once it has a render.
    Renderer renderer;
    system->draw(&renderer, Mat4::IDENTITY, 0);
    EXPECT_EQ(renderer.getQueuedCommandCount(), 0u);
    system->setRender(Particle3DRender::create());
    system->draw(&renderer, Mat4::IDENTITY, 0);
    EXPECT_EQ(renderer.getQueuedCommandCount(), 1u);
    EXPECT_EQ(system->getRender()->getQuadCommand().getQuadCount(), 1u);
    renderer.render();

    // Emitters a script keeps outlive their systems without naming them.
    for (bool own : {false, true}) {
        PUEmitter* kept = PUEmitter::create();
        kept->retain();
        PUParticleSystem3D* holder = PUParticleSystem3D::create();
        if (own) holder->setEmitter(kept);
        holder->addEmitter(kept);
        EXPECT_EQ(kept->getParticleSystem(), holder);
        AutoreleasePool::getInstance()->clear();
        EXPECT_EQ(kept->getParticleSystem(), nullptr);
        kept->release();
    }
}

// An observer that reports every particle it sees.
struct SeeingObserver : PUObserver {
    int looks = 0;
    bool observe(Particle3D*, float) override {
        ++looks;
        return true;
    }
};

TEST_F(SceneThreeDTest, ObserversLookAtTheirIntervalAndStopAtTheirEvent) {
    PUParticleSystem3D* system = PUParticleSystem3D::create();
    PUEmitter* emitter = PUEmitter::create();
    emitter->setEmissionRate(2);
    system->addEmitter(emitter);
    auto* every = new SeeingObserver;
    every->setName("every");
    every->setObserverInterval(0.5f);
    auto* once = new SeeingObserver;
    once->setObserveUntilEvent(true);
    system->addObserver(every);
    system->addObserver(once);
    every->release();
    once->release();
    for (int i = 0; i < 4; ++i) system->forceUpdate(0.25f);
    // One particle at 0.5 s, two at 1 s: every looks at both sets.
    EXPECT_EQ(every->looks, 1 + 2);
    EXPECT_EQ(once->looks, 1);
    EXPECT_FALSE(once->isEnabled());
    EXPECT_EQ(system->getObserver("every"), every);
    EXPECT_EQ(system->getObserverCount(), 2);
}

TEST_F(SceneThreeDTest, CubeTexturesNeedSixSquareFacesOfOneSize) {
    testsupport::TempDir dir;
    auto png = [&](const std::string& name, int width, int height) {
        const std::vector<unsigned char> bytes = testsupport::encodeBlankPng(width, height);
        return dir.write(name, std::string(bytes.begin(), bytes.end()));
    };
    const std::string a = png("a.png", 4, 4), b = png("b.png", 4, 4), wide = png("wide.png", 8, 4),
                      big = png("big.png", 8, 8);
    EXPECT_EQ(TextureCube::create(a, b, a, b, a, wide), nullptr);
    EXPECT_EQ(TextureCube::create(a, b, a, b, big, a), nullptr);
    EXPECT_EQ(TextureCube::create(a, b, a, b, a, dir.file("none.png")), nullptr);
    EXPECT_EQ(Skybox::create(a, b, a, b, a, wide), nullptr);
    TextureCube* cube = TextureCube::create(a, b, a, b, a, b);
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->getSize(), 4);
    EXPECT_EQ(cube->getName(), 0u) << "no context";

    GLRecorder recorder;
    const unsigned name = cube->getName();
    EXPECT_NE(name, 0u);
    EXPECT_EQ(cube->getName(), name) << "uploaded once";
    const auto faces = recorder.callsNamed("glTexImage2D");
    ASSERT_EQ(faces.size(), 6u);
    for (size_t i = 0; i < faces.size(); ++i) {
        EXPECT_EQ(faces[i]->args[0], GL_TEXTURE_CUBE_MAP_POSITIVE_X + i);
        EXPECT_EQ(faces[i]->args[3], 4);
    }

    // A sky brush with the cube draws the sky through its camera after the depth clear.
    CameraBackgroundSkyBoxBrush* brush = CameraBackgroundSkyBoxBrush::create();
    brush->setTexture(cube);
    EXPECT_TRUE(brush->isActived());
    Camera* camera = Camera::createPerspective(60, 1, 1, 100);
    camera->setBackgroundBrush(brush);
    recorder.clear();
    camera->clearBackground();
    ASSERT_EQ(recorder.count("glDrawArrays"), 1u);
    EXPECT_EQ(recorder.callsNamed("glDrawArrays")[0]->args[2], 36);
    brush->setActived(false);
    recorder.clear();
    camera->clearBackground();
    EXPECT_EQ(recorder.count("glDrawArrays"), 0u);
}

TEST_F(SceneThreeDTest, FrameBuffersClearToTheirValuesAndReturnToTheWindow) {
    EXPECT_EQ(experimental::FrameBuffer::create(1, 0, 16), nullptr);
    experimental::FrameBuffer* buffer = experimental::FrameBuffer::create(3, 32, 16);
    ASSERT_NE(buffer, nullptr);
    buffer->setClearColor(Color4F{0, 1, 0, 1});
    buffer->setClearDepth(0.5f);
    buffer->setClearStencil(2);
    buffer->clearFBO();   // no context: nothing to do
    GLRecorder recorder;
    buffer->clearFBO();
    const auto binds = argsOf(recorder, "glBindFramebuffer");
    ASSERT_GE(binds.size(), 2u);
    EXPECT_EQ(binds.back(), (std::vector<double>{GL_FRAMEBUFFER, 0}));
    EXPECT_EQ(argsOf(recorder, "glGenFramebuffers").size(), 1u);
    EXPECT_EQ(argsOf(recorder, "glClearColor"), (std::vector<std::vector<double>>{{0, 1, 0, 1}}));
    EXPECT_EQ(argsOf(recorder, "glClearDepth"), (std::vector<std::vector<double>>{{0.5}}));
    EXPECT_EQ(argsOf(recorder, "glClearStencil"), (std::vector<std::vector<double>>{{2}}));
    const auto attached = argsOf(recorder, "glFramebufferTexture2D");
    ASSERT_EQ(attached.size(), 1u);
    EXPECT_EQ(attached[0][3], buffer->getRenderTarget()->getName());
    EXPECT_EQ(buffer->getFBO(), buffer->getFBO());
}

TEST_F(SceneThreeDTest, BillBoardsDropTheTurnsButKeepPlaceAndScale) {
    Mat4 turned;
    Mat4::createRotationZ(1.0f, &turned);
    Mat4 scale;
    Mat4::createScale(2, 3, 1, &scale);
    Mat4 move;
    Mat4::createTranslation(5, 6, 7, &move);
    const Mat4 facing = BillBoard::facingTransform(move * turned * scale);
    const float expected[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(facing.m[i], expected[i], 1e-5f) << i;
}

}  // namespace
