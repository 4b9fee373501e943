// The 2D particle system: emission up to its capacity, particles moving and
// dying, the end of a timed emission, and the preset systems' settings.
#include <gtest/gtest.h>

#include <functional>

#include "engine/base/AutoreleasePool.h"
#include "engine/scene/ParticleSystem.h"

using engine::ParticleSystem;
using engine::Vec2;

namespace {

struct ParticleSystemTest : ::testing::Test {
    ~ParticleSystemTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

TEST_F(ParticleSystemTest, EmitsUpToItsCapacityMovesAndRetiresParticles) {
    ParticleSystem* system = ParticleSystem::createWithTotalParticles(5);
    system->setEmissionRate(10.f);
    system->setLife(1.f);
    struct Step {
        float delta;
        int count;
    };
    // 10 a second: 3 after 0.35 s, held at 5, then the first three die after 1 s
    // (a full system emits nothing in that frame, and catches up in the next).
    const Step steps[] = {{0.35f, 3}, {0.3f, 5}, {0.3f, 5}, {0.2f, 2}, {0.15f, 5}};
    for (const Step& s : steps) {
        system->update(s.delta);
        EXPECT_EQ(system->getParticleCount(), s.count) << "after " << s.delta;
    }
    system->setTotalParticles(2);
    EXPECT_EQ(system->getParticleCount(), 2) << "a smaller capacity drops particles";

    // One particle thrown along +x under gravity: velocity and place per half second.
    ParticleSystem* thrown = ParticleSystem::createWithTotalParticles(1);
    thrown->setEmissionRate(1000.f);
    thrown->setLife(10.f);
    thrown->setSpeed(10.f);
    thrown->setGravity(Vec2(0.f, -10.f));
    thrown->update(0.5f);
    ASSERT_EQ(thrown->getParticleCount(), 1);
    EXPECT_FLOAT_EQ(thrown->getParticles()[0].position.x, 5.f);
    EXPECT_FLOAT_EQ(thrown->getParticles()[0].position.y, -2.5f);
    thrown->update(0.5f);
    EXPECT_FLOAT_EQ(thrown->getParticles()[0].position.y, -7.5f);
}

TEST_F(ParticleSystemTest, ATimedEmissionStopsAndCanLeaveItsParent) {
    engine::Node* parent = engine::Node::create();
    ParticleSystem* system = ParticleSystem::createWithTotalParticles(100);
    parent->addChild(system);
    system->retain();
    system->setEmissionRate(10.f);
    system->setLife(0.5f);
    system->setDuration(0.25f);
    system->setAutoRemoveOnFinish(true);
    system->update(0.27f);
    EXPECT_FALSE(system->isActive());
    EXPECT_EQ(system->getParticleCount(), 2);
    system->update(0.3f);
    EXPECT_EQ(system->getParticleCount(), 0);
    EXPECT_EQ(system->getParent(), nullptr) << "done: it leaves";
    system->resetSystem();
    EXPECT_TRUE(system->isActive());
    system->release();
}

TEST_F(ParticleSystemTest, PresetsCarryTheirLook) {
    struct Case {
        const char* name;
        std::function<ParticleSystem*()> make;
        int total;
        float duration;
        bool additive;
        Vec2 gravity;
        float angle;
    };
    const Case cases[] = {
        {"fire", [] { return engine::ParticleFire::create(); }, 250, -1.f, true, Vec2(), 90.f},
        {"fireworks", [] { return engine::ParticleFireworks::create(); }, 1500, -1.f, false, Vec2(0.f, -90.f), 90.f},
        {"explosion", [] { return engine::ParticleExplosion::create(); }, 700, 0.1f, false, Vec2(), 90.f},
        {"meteor", [] { return engine::ParticleMeteor::create(); }, 150, -1.f, true, Vec2(-200.f, 200.f), 90.f},
        {"snow falls", [] { return engine::ParticleSnow::create(); }, 700, -1.f, false, Vec2(0.f, -1.f), -90.f},
        {"rain, fewer drops", [] { return engine::ParticleRain::createWithTotalParticles(30); }, 30, -1.f, false,
         Vec2(10.f, -10.f), -90.f},
    };
    for (const Case& c : cases) {
        ParticleSystem* system = c.make();
        EXPECT_EQ(system->getTotalParticles(), c.total) << c.name;
        EXPECT_FLOAT_EQ(system->getDuration(), c.duration) << c.name;
        EXPECT_EQ(system->isBlendAdditive(), c.additive) << c.name;
        EXPECT_EQ(system->getGravity(), c.gravity) << c.name;
        EXPECT_FLOAT_EQ(system->getAngle(), c.angle) << c.name;
        EXPECT_GT(system->getEmissionRate(), 0.f) << c.name;
        system->update(1.f);
        EXPECT_GT(system->getParticleCount(), 0) << c.name << " emits";
    }
    ParticleSystem* explosion = engine::ParticleExplosion::create();
    explosion->update(0.2f);
    EXPECT_EQ(explosion->getParticleCount(), 700) << "the whole burst at once";
    EXPECT_FALSE(explosion->isActive());
}

}  // namespace
