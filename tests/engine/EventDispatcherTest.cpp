// Custom events: listener order, changes during a dispatch, stopping, enabling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/EventDispatcher.h"

using engine::EventCustom;
using engine::EventDispatcher;
using engine::EventListenerCustom;

namespace {

struct EventDispatcherTest : ::testing::Test {
    EventDispatcher* dispatcher = new EventDispatcher;
    std::vector<std::string> calls;
    ~EventDispatcherTest() override {
        dispatcher->release();
        engine::AutoreleasePool::getInstance()->clear();
    }
    EventListenerCustom* add(const std::string& event, const std::string& label) {
        return dispatcher->addCustomEventListener(event, [this, label](EventCustom*) { calls.push_back(label); });
    }
};

TEST_F(EventDispatcherTest, ListenersOfTheNameRunInTheOrderAdded) {
    add("go", "first");
    add("other", "other");
    add("go", "second");
    int payload = 7;
    void* seen = nullptr;
    dispatcher->addCustomEventListener("go", [&](EventCustom* e) { seen = e->getUserData(); });
    dispatcher->dispatchCustomEvent("go", &payload);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(seen, &payload);
}

TEST_F(EventDispatcherTest, ListenerAddedDuringADispatchWaitsForTheNext) {
    dispatcher->addCustomEventListener("go", [this](EventCustom*) {
        calls.push_back("adder");
        if (calls.size() == 1) add("go", "added");
    });
    dispatcher->dispatchCustomEvent("go");
    EXPECT_EQ(calls, (std::vector<std::string>{"adder"}));
    dispatcher->dispatchCustomEvent("go");
    EXPECT_EQ(calls, (std::vector<std::string>{"adder", "adder", "added"}));
}

TEST_F(EventDispatcherTest, ListenerRemovedDuringADispatchIsNotCalledAgain) {
    EventListenerCustom* victim = nullptr;
    EventListenerCustom* self = nullptr;
    self = dispatcher->addCustomEventListener("go", [&](EventCustom*) {
        calls.push_back("remover");
        dispatcher->removeEventListener(victim);
        dispatcher->removeEventListener(self);   // removing the running listener is safe
    });
    victim = add("go", "victim");
    engine::AutoreleasePool::getInstance()->clear();   // only the dispatcher holds them now
    dispatcher->dispatchCustomEvent("go");
    dispatcher->dispatchCustomEvent("go");
    EXPECT_EQ(calls, (std::vector<std::string>{"remover"}));
}

TEST_F(EventDispatcherTest, StopPropagationAndEnabling) {
    dispatcher->addCustomEventListener("go", [this](EventCustom* e) {
        calls.push_back("stopper");
        e->stopPropagation();
    });
    add("go", "after");
    dispatcher->dispatchCustomEvent("go");
    EXPECT_EQ(calls, (std::vector<std::string>{"stopper"}));

    calls.clear();
    dispatcher->removeCustomEventListeners("go");
    EventListenerCustom* muted = add("go", "muted");
    add("go", "live");
    muted->setEnabled(false);
    dispatcher->dispatchCustomEvent("go");
    dispatcher->setEnabled(false);
    dispatcher->dispatchCustomEvent("go");
    EXPECT_EQ(calls, (std::vector<std::string>{"live"}));
}

TEST_F(EventDispatcherTest, DispatcherKeepsItsListenersAlive) {
    EventListenerCustom* listener = add("go", "x");
    EXPECT_TRUE(listener->isRegistered());
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(listener->getReferenceCount(), 1u);
    listener->retain();
    dispatcher->removeAllEventListeners();
    EXPECT_FALSE(listener->isRegistered());
    EXPECT_EQ(listener->getReferenceCount(), 1u);
    dispatcher->addEventListener(listener);
    dispatcher->addEventListener(listener);   // a second add is refused
    dispatcher->dispatchCustomEvent("go");
    EXPECT_EQ(calls, (std::vector<std::string>{"x"}));
    listener->release();
}

}  // namespace
