// Finding nodes by a path of name patterns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/scene/Node.h"

using engine::Node;

namespace {

struct NodePathTest : ::testing::Test {
    // root
    //   hero
    //     sword
    //     shield
    //   enemy1
    //     sword
    //   enemy2
    //     pack
    //       sword
    //   e
    NodePathTest() {
        root = add(nullptr, "root");
        Node* hero = add(root, "hero");
        add(hero, "sword");
        add(hero, "shield");
        add(add(root, "enemy1"), "sword");
        add(add(add(root, "enemy2"), "pack"), "sword");
        add(root, "e");
    }
    ~NodePathTest() override {
        root->release();
        engine::AutoreleasePool::getInstance()->clear();
    }
    Node* add(Node* parent, const std::string& name) {
        Node* node = Node::create();
        node->setName(name);
        if (parent) {
            parent->addChild(node);
        } else {
            node->retain();
        }
        return node;
    }
    // "parent/name" of each node visited, in order; stops at the stopAt-th visit (1-based).
    std::vector<std::string> visit(const std::string& path, size_t stopAt = 0) {
        std::vector<std::string> seen;
        root->enumerateChildren(path, [&](Node* node) {
            seen.push_back((node->getParent() ? node->getParent()->getName() + "/" : "") + node->getName());
            return seen.size() == stopAt;
        });
        return seen;
    }
    Node* root = nullptr;
};

TEST_F(NodePathTest, PatternsFindTheirNodesInChildOrder) {
    using Names = std::vector<std::string>;
    const struct {
        const char* path;
        Names found;
    } cases[] = {
        {"hero", {"root/hero"}},
        {"hero/sword", {"hero/sword"}},
        {"enemy*", {"root/enemy1", "root/enemy2"}},
        {"e*", {"root/enemy1", "root/enemy2", "root/e"}},
        {"*1", {"root/enemy1"}},
        {"e*y*", {"root/enemy1", "root/enemy2"}},
        {"*/sword", {"hero/sword", "enemy1/sword"}},
        {"//sword", {"hero/sword", "enemy1/sword", "pack/sword"}},
        {"enemy2//sword", {"pack/sword"}},
        {"//pack/..", {"root/enemy2"}},
        {"hero/..", {"root"}},
        {"..", {}},
        {"/hero", {"root/hero"}},
        {"sword", {}},
        {"", {}},
        {"hero/", {}},
        {"//", {}},
        {"villain", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(visit(c.path), c.found) << c.path;
}

TEST_F(NodePathTest, TrueStopsTheWalkAndVisitsMayChangeTheTree) {
    EXPECT_EQ(visit("//sword", 2), (std::vector<std::string>{"hero/sword", "enemy1/sword"}));
    // Removing each match while it is visited: every one is still visited once.
    int visits = 0;
    root->enumerateChildren("//s*", [&](Node* node) {
        ++visits;
        node->removeFromParent();
        return false;
    });
    EXPECT_EQ(visits, 4);
    EXPECT_EQ(visit("//s*"), std::vector<std::string>{});
}

}  // namespace
