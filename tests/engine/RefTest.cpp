// Reference counting, the autorelease pool, object ids and the script engine link.
#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Ref.h"
#include "engine/script/ScriptEngineManager.h"
#include "support/TestSupport.h"

using engine::AutoreleasePool;
using engine::Ref;

namespace {

struct Tracked : Ref {
    explicit Tracked(int* destroyed) : destroyed(destroyed) {}
    ~Tracked() override {
        ++*destroyed;
        if (onDestroy) onDestroy();
    }
    int* destroyed;
    std::function<void()> onDestroy;
};

struct FakeScriptEngine : engine::ScriptEngineProtocol {
    std::vector<Ref*>* removed;
    int* deleted;
    bool takesAsserts = false;
    std::vector<std::string> asserts;
    FakeScriptEngine(std::vector<Ref*>* r, int* d) : removed(r), deleted(d) {}
    ~FakeScriptEngine() override { ++*deleted; }
    void removeScriptObjectByObject(Ref* object) override { removed->push_back(object); }
    int executeString(const char*) override { return 0; }
    int executeScriptFile(const char*) override { return 0; }
    bool handleAssert(const char* message) override {
        asserts.push_back(message);
        return takesAsserts;
    }
};

TEST(RefTest, AutoreleasedObjectDiesAtTheDrainUnlessRetained) {
    int destroyed = 0;
    auto* kept = new Tracked(&destroyed);
    auto* dropped = new Tracked(&destroyed);
    kept->autorelease();
    dropped->autorelease();
    kept->retain();
    EXPECT_TRUE(AutoreleasePool::getInstance()->contains(dropped));
    EXPECT_EQ(destroyed, 0);

    AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(kept->getReferenceCount(), 1u);
    EXPECT_EQ(AutoreleasePool::getInstance()->size(), 0u);
    kept->release();
    EXPECT_EQ(destroyed, 2);
}

TEST(RefTest, EachAutoreleaseIsOneReleaseAtTheDrain) {
    int destroyed = 0;
    auto* object = new Tracked(&destroyed);
    object->retain();
    object->autorelease();
    object->autorelease();
    AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(destroyed, 1);
}

TEST(RefTest, ObjectsAutoreleasedDuringTheDrainWaitForTheNextOne) {
    int destroyed = 0;
    auto* late = new Tracked(&destroyed);
    auto* first = new Tracked(&destroyed);
    first->onDestroy = [late] { late->autorelease(); };
    first->autorelease();
    AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(AutoreleasePool::getInstance()->contains(late));
    AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(destroyed, 2);
}

TEST(RefTest, IdsAreUniqueAndNonZeroAcrossThreads) {
    constexpr int kThreads = 4, kPerThread = 500;
    std::mutex mutex;
    std::set<unsigned int> ids;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kPerThread; ++i) {
                int destroyed = 0;
                auto* object = new Tracked(&destroyed);
                unsigned int id = object->_ID;
                object->release();
                std::lock_guard<std::mutex> lock(mutex);
                ids.insert(id);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(ids.size(), size_t{kThreads * kPerThread});
    EXPECT_EQ(ids.count(0u), 0u);
}

TEST(RefTest, DestroyingAnObjectKnownToScriptsTellsTheScriptEngine) {
    std::vector<Ref*> removed;
    int engineDeleted = 0;
    engine::ScriptEngineManager::getInstance()->setScriptEngine(new FakeScriptEngine(&removed, &engineDeleted));

    int destroyed = 0;
    auto* pushed = new Tracked(&destroyed);
    auto* plain = new Tracked(&destroyed);
    EXPECT_EQ(pushed->_luaID, 0);
    pushed->_luaID = 42;
    Ref* pushedAddress = pushed;
    pushed->release();
    plain->release();
    EXPECT_EQ(removed, (std::vector<Ref*>{pushedAddress}));

    // Without a script engine the destructor does nothing more.
    engine::ScriptEngineManager::getInstance()->removeScriptEngine();
    EXPECT_EQ(engineDeleted, 1);
    auto* orphan = new Tracked(&destroyed);
    orphan->_luaID = 7;
    orphan->release();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(removed.size(), 1u);
}

TEST(ScriptEngineManagerTest, SettingAnEngineDeletesThePreviousOne) {
    std::vector<Ref*> removed;
    int deleted = 0;
    auto* manager = engine::ScriptEngineManager::getInstance();
    // Every change of engine moves the generation; keeping the same one does not.
    unsigned long generation = engine::ScriptEngineManager::engineGeneration();
    auto changed = [&] {
        const unsigned long now = engine::ScriptEngineManager::engineGeneration();
        const bool moved = now != generation;
        generation = now;
        return moved;
    };
    auto* first = new FakeScriptEngine(&removed, &deleted);
    manager->setScriptEngine(first);
    EXPECT_TRUE(changed());
    manager->setScriptEngine(first);   // the same engine again is kept
    EXPECT_FALSE(changed());
    EXPECT_EQ(deleted, 0);
    manager->setScriptEngine(new FakeScriptEngine(&removed, &deleted));
    EXPECT_TRUE(changed());
    EXPECT_EQ(deleted, 1);
    engine::ScriptEngineManager::destroyInstance();
    EXPECT_TRUE(changed());
    EXPECT_EQ(deleted, 2);
    engine::ScriptEngineManager::getInstance()->setScriptEngine(new FakeScriptEngine(&removed, &deleted));
    engine::ScriptEngineManager::getInstance()->removeScriptEngine();
    EXPECT_TRUE(changed());
    EXPECT_EQ(deleted, 3);
}

TEST(ScriptEngineManagerTest, AssertGoesToTheScriptEngineOrTheLog) {
    testsupport::LogCapture log;
    engine::ScriptEngineManager::sendAssert("no engine");

    std::vector<Ref*> removed;
    int deleted = 0;
    auto* script = new FakeScriptEngine(&removed, &deleted);
    engine::ScriptEngineManager::getInstance()->setScriptEngine(script);
    engine::ScriptEngineManager::sendAssert("declined");
    script->takesAsserts = true;
    engine::ScriptEngineManager::sendAssert("handled");

    EXPECT_EQ(script->asserts, (std::vector<std::string>{"declined", "handled"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"Assert failed: no engine", "Assert failed: declined"}));
    engine::ScriptEngineManager::destroyInstance();
}

}  // namespace
