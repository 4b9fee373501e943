// engine::Vector and engine::Map hold one reference on each element.
#include <gtest/gtest.h>

#include <string>

#include "engine/base/Map.h"
#include "engine/base/Vector.h"

namespace {

struct Counted : engine::Ref {
    explicit Counted(int* destroyed) : destroyed(destroyed) {}
    ~Counted() override { ++*destroyed; }
    int* destroyed;
};

TEST(ContainerTest, VectorRetainsWhatItHolds) {
    int destroyed = 0;
    auto* a = new Counted(&destroyed);
    auto* b = new Counted(&destroyed);
    {
        engine::Vector<Counted*> v;
        v.pushBack(a);
        v.pushBack(nullptr);   // ignored
        v.insert(0, b);
        v.pushBack(a);
        ASSERT_EQ(v.size(), 3u);
        EXPECT_EQ(v.at(0), b);
        EXPECT_EQ(v.getIndex(a), 1);
        EXPECT_EQ(a->getReferenceCount(), 3u);

        engine::Vector<Counted*> copy(v);
        EXPECT_EQ(a->getReferenceCount(), 5u);
        engine::Vector<Counted*> moved(std::move(copy));
        EXPECT_EQ(a->getReferenceCount(), 5u);
        EXPECT_TRUE(copy.empty());

        v.eraseObject(a, true);
        EXPECT_EQ(v.size(), 1u);
        EXPECT_EQ(a->getReferenceCount(), 3u);
        v = moved;   // b: own 1, moved 1, v 1
        EXPECT_EQ(b->getReferenceCount(), 3u);
        v.erase(0);
        v.popBack();
        EXPECT_EQ(b->getReferenceCount(), 2u);
    }
    EXPECT_EQ(a->getReferenceCount(), 1u);
    EXPECT_EQ(b->getReferenceCount(), 1u);
    a->release();
    b->release();
    EXPECT_EQ(destroyed, 2);
}

TEST(ContainerTest, VectorClearReleasesObjectsItOwnsAlone) {
    int destroyed = 0;
    engine::Vector<Counted*> v;
    auto* a = new Counted(&destroyed);
    v.pushBack(a);
    a->release();   // the vector holds the only reference now
    EXPECT_EQ(destroyed, 0);
    v.clear();
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(v.empty());
}

TEST(ContainerTest, MapRetainsValuesAndReleasesReplacedOnes) {
    int destroyed = 0;
    auto* a = new Counted(&destroyed);
    auto* b = new Counted(&destroyed);
    {
        engine::Map<std::string, Counted*> m;
        m.insert("k", a);
        m.insert("null", nullptr);   // ignored
        EXPECT_EQ(m.size(), 1u);
        EXPECT_EQ(a->getReferenceCount(), 2u);
        m.insert("k", b);   // replaces a
        EXPECT_EQ(a->getReferenceCount(), 1u);
        EXPECT_EQ(m.at("k"), b);
        EXPECT_EQ(m.at("missing"), nullptr);
        m.insert("k", b);   // the same object again keeps one reference
        EXPECT_EQ(b->getReferenceCount(), 2u);
        m.insert("a", a);
        engine::Map<std::string, Counted*> copy = m;
        EXPECT_EQ(a->getReferenceCount(), 3u);
        EXPECT_TRUE(copy.erase("a"));
        EXPECT_FALSE(copy.erase("a"));
        EXPECT_EQ(a->getReferenceCount(), 2u);
        EXPECT_EQ(m.keys().size(), 2u);
    }
    EXPECT_EQ(a->getReferenceCount(), 1u);
    EXPECT_EQ(b->getReferenceCount(), 1u);
    a->release();
    b->release();
    EXPECT_EQ(destroyed, 2);
}

}  // namespace
