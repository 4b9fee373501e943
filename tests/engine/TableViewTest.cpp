// Scroll and table views: offsets by touches and by calls, cell layout by
// direction and fill order, the reuse queue, and cell touches through the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/extension/TableView.h"
#include "engine/scene/Scene.h"

namespace {

using engine::Director;
using engine::Size;
using engine::Vec2;
using engine::extension::ScrollView;
using engine::extension::TableView;
using engine::extension::TableViewCell;

struct BareView : engine::GLView {};

// Notes what the views tell it and answers as a five-cell table of 40-point cells.
struct Recorder : engine::extension::TableViewDelegate, engine::extension::TableViewDataSource {
    std::vector<std::string> log;
    int scrolls = 0;
    long count = 5;
    bool reuse = true;

    void note(const char* what, TableViewCell* cell) { log.push_back(what + std::to_string(cell->getIdx())); }
    void scrollViewDidScroll(ScrollView*) override { ++scrolls; }
    void tableCellTouched(TableView*, TableViewCell* cell) override { note("t", cell); }
    void tableCellHighlight(TableView*, TableViewCell* cell) override { note("h", cell); }
    void tableCellUnhighlight(TableView*, TableViewCell* cell) override { note("u", cell); }
    void tableCellWillRecycle(TableView*, TableViewCell* cell) override { note("r", cell); }
    Size tableCellSizeForIndex(TableView*, long) override { return Size(40, 40); }
    TableViewCell* tableCellAtIndex(TableView* table, long idx) override {
        TableViewCell* cell = reuse ? table->dequeueCell() : nullptr;
        log.push_back((cell ? "reuse" : "new") + std::to_string(idx));
        return cell ? cell : TableViewCell::create();
    }
    long numberOfCellsInTableView(TableView*) override { return count; }
    std::string flush() {
        std::string text;
        for (const std::string& entry : log) text += (text.empty() ? "" : " ") + entry;
        log.clear();
        return text;
    }
};

struct TableViewTest : ::testing::Test {
    TableViewTest() {
        view = new BareView;
        view->setFrameSize(300, 200);
        view->setDesignResolutionSize(300, 200, engine::ResolutionPolicy::EXACT_FIT);
        Director::getInstance()->setOpenGLView(view);
        scene = engine::Scene::create();
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0.f);
    }
    ~TableViewTest() override {
        Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        view->release();
    }
    // The cells in sight as "idx@x,y" by index.
    static std::string sight(TableView* table) {
        std::string text;
        for (long i = 0; i < table->getCellCount(); ++i) {
            TableViewCell* cell = table->cellAtIndex(i);
            if (!cell) continue;
            const Vec2 at = cell->getPosition();
            text += (text.empty() ? "" : " ") + std::to_string(i) + "@" + std::to_string(static_cast<int>(at.x)) + "," +
                    std::to_string(static_cast<int>(at.y));
        }
        return text;
    }
    engine::GLView* view = nullptr;
    engine::Scene* scene = nullptr;
};

// A 100 x 100 table of five 40-point cells: three in sight at the start, the
// last three at the other end; the cells that leave sight are reused.
TEST_F(TableViewTest, CellsByDirectionAndFillOrder) {
    struct Case {
        const char* name;
        ScrollView::Direction direction;
        TableView::VerticalFillOrder order;
        const char* start;
        Vec2 endOffset;
        const char* end;
    } cases[] = {
        {"top down", ScrollView::Direction::VERTICAL, TableView::VerticalFillOrder::TOP_DOWN, "0@0,160 1@0,120 2@0,80",
         {0, 0}, "2@0,80 3@0,40 4@0,0"},
        {"bottom up", ScrollView::Direction::VERTICAL, TableView::VerticalFillOrder::BOTTOM_UP, "0@0,0 1@0,40 2@0,80",
         {0, -100}, "2@0,80 3@0,120 4@0,160"},
        {"horizontal", ScrollView::Direction::HORIZONTAL, TableView::VerticalFillOrder::TOP_DOWN,
         "0@0,0 1@40,0 2@80,0", {-100, 0}, "2@80,0 3@120,0 4@160,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        TableView* table = TableView::create(&recorder, Size(100, 100));
        table->setDelegate(&recorder);
        table->setDirection(c.direction);
        table->setVerticalFillOrder(c.order);
        scene->addChild(table);
        table->reloadData();
        EXPECT_EQ(sight(table), c.start);
        EXPECT_EQ(recorder.flush(), "new0 new1 new2");
        table->setContentOffset(c.endOffset);
        EXPECT_EQ(sight(table), c.end);
        EXPECT_EQ(recorder.flush(), "r0 r1 reuse3 reuse4");
        // Reloading recycles what is in sight and starts over.
        recorder.count = 1;
        table->reloadData();
        EXPECT_EQ(recorder.flush(), "r2 r3 r4 reuse0");
        EXPECT_EQ(table->getCellCount(), 1);
        EXPECT_NE(table->dequeueCell(), nullptr);
        EXPECT_NE(table->dequeueCell(), nullptr);
        EXPECT_EQ(table->dequeueCell(), nullptr);
        table->removeFromParent();
    }
}

// Cell 0 covers view pixels 0..100 x 160..200, cell 1 x 120..160.
TEST_F(TableViewTest, TouchesHighlightAndTouchCells) {
    Recorder recorder;
    TableView* table = TableView::create(&recorder, Size(100, 100));
    table->setDelegate(&recorder);
    scene->addChild(table);
    table->reloadData();
    struct Point {
        float x, y;
    };
    const Point cell0{50, 180}, nudge{52, 177}, cell1{50, 140}, off{200, 50};
    struct Case {
        const char* name;
        Point began;
        std::vector<Point> moves;
        Point ended;
        bool cancelled;
        const char* heard;
    } cases[] = {
        {"tap", cell0, {}, cell0, false, "h0 u0 t0"},
        {"small move", cell0, {nudge}, nudge, false, "h0 u0 t0"},
        {"drag", cell0, {cell1}, cell1, false, "h0 u0"},
        {"ends over another cell", cell0, {}, cell1, false, "h0 u0"},
        {"ends off the table", cell0, {}, off, false, "h0 u0"},
        {"cancel", cell0, {}, cell0, true, "h0 u0"},
        {"begins off the table", off, {cell0}, cell0, false, ""},
    };
    int id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->handleTouchBegin(id, c.began.x, c.began.y);
        for (const Point& p : c.moves) view->handleTouchMove(id, p.x, p.y);
        if (c.cancelled) {
            view->handleTouchCancel(id, c.ended.x, c.ended.y);
        } else {
            view->handleTouchEnd(id, c.ended.x, c.ended.y);
        }
        std::string heard;
        for (const std::string& entry : recorder.log) {
            if (entry[0] == 'h' || entry[0] == 'u' || entry[0] == 't') heard += (heard.empty() ? "" : " ") + entry;
        }
        recorder.log.clear();
        EXPECT_EQ(heard, c.heard);
        // A drag past the start bounces back, and the cells with it.
        EXPECT_EQ(sight(table), "0@0,0 1@0,40 2@0,80");
        ++id;
    }
}

// A 100 x 100 view onto a 300 x 300 container: a drag of (-20, -20) points
// moves the offset along the view's direction; a drag past the bounds stays
// there until the touch ends only when the view bounces.
TEST_F(TableViewTest, ScrollViewDragsAlongItsDirection) {
    ScrollView* scroll = ScrollView::create(Size(100, 100));
    scroll->setContentSize(Size(300, 300));
    Recorder recorder;
    scroll->setDelegate(&recorder);
    scene->addChild(scroll);
    struct Case {
        ScrollView::Direction direction;
        bool bounceable;
        Vec2 drag;      // in design points, y up
        Vec2 during;
        Vec2 after;
    } cases[] = {
        {ScrollView::Direction::BOTH, true, {-20, -20}, {-20, -20}, {-20, -20}},
        {ScrollView::Direction::HORIZONTAL, true, {-20, -20}, {-20, 0}, {-20, 0}},
        {ScrollView::Direction::VERTICAL, true, {-20, -20}, {0, -20}, {0, -20}},
        {ScrollView::Direction::NONE, true, {-20, -20}, {0, 0}, {0, 0}},
        {ScrollView::Direction::BOTH, true, {20, -20}, {20, -20}, {0, -20}},
        {ScrollView::Direction::BOTH, false, {20, -20}, {0, -20}, {0, -20}},
        {ScrollView::Direction::BOTH, true, {4, 4}, {0, 0}, {0, 0}},   // under the threshold
    };
    int id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(id);
        scroll->setDirection(c.direction);
        scroll->setBounceable(c.bounceable);
        scroll->setContentOffset(Vec2(0, 0));
        recorder.scrolls = 0;
        view->handleTouchBegin(id, 50, 150);
        view->handleTouchMove(id, 50 + c.drag.x, 150 - c.drag.y);
        EXPECT_EQ(scroll->getContentOffset().x, c.during.x);
        EXPECT_EQ(scroll->getContentOffset().y, c.during.y);
        EXPECT_EQ(scroll->isTouchMoved(), c.drag.x == -20 || c.drag.x == 20);
        view->handleTouchEnd(id, 50 + c.drag.x, 150 - c.drag.y);
        EXPECT_FALSE(scroll->isDragging());
        EXPECT_EQ(scroll->getContentOffset().x, c.after.x);
        EXPECT_EQ(scroll->getContentOffset().y, c.after.y);
        EXPECT_EQ(recorder.scrolls > 0, c.after.x != 0 || c.after.y != 0);
        ++id;
    }
    // An animated offset glides there a frame at a time, telling the delegate each step.
    scroll->setContentOffset(Vec2(0, 0));
    recorder.scrolls = 0;
    scroll->setContentOffset(Vec2(-60, -30), true);
    EXPECT_EQ(recorder.scrolls, 0);
    for (int frame = 0; frame < 4; ++frame) Director::getInstance()->mainLoop(0.05f);
    EXPECT_EQ(scroll->getContentOffset().x, -60);
    EXPECT_EQ(scroll->getContentOffset().y, -30);
    EXPECT_EQ(recorder.scrolls, 3);
    scroll->setZoomScale(2);
    EXPECT_EQ(scroll->minContainerOffset().x, -500);
}

}  // namespace
