#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "PortalWindowFixture.h"
#include "platform/Activation.h"
#include "platform/Mouse.h"
#include "platform/Paint.h"
#include "platform/SystemFonts.h"
#include "portal/PayButton.h"
#include "portal/PayWebWindow.h"
#include "portal/PayWindowPainter.h"

using namespace platform;
using portaltest::PortalWindowFixture;

namespace {

constexpr int kClientWidth = 600;
constexpr int kBandHeight = 60;   // the header's 52 rows and a few untouched ones

struct Rgb {
    int r = 0, g = 0, b = 0, a = 0;
};

Rgb rgbOf(uint32_t argb) {
    return Rgb{static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
               static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24)};
}

Rgb mix(Rgb from, Rgb to, double t) {
    auto lerp = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return Rgb{lerp(from.r, to.r), lerp(from.g, to.g), lerp(from.b, to.b), 255};
}

int distance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

// Colour of a vertical gradient (from y0 to y1) at the centre of pixel row y.
Rgb gradientAt(uint32_t top, uint32_t bottom, double y0, double y1, int y) {
    return mix(rgbOf(top), rgbOf(bottom), (y + 0.5 - y0) / (y1 - y0));
}

// An image of the pay window's header strip, painted as the window would.
class Canvas {
public:
    Canvas() : _surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kClientWidth, kBandHeight)),
               _cr(cairo_create(_surface)) {}
    ~Canvas() {
        cairo_destroy(_cr);
        cairo_surface_destroy(_surface);
    }
    cairo_t* cr() const { return _cr; }
    Rgb at(int x, int y) const {
        cairo_surface_flush(_surface);
        const unsigned char* row = cairo_image_surface_get_data(_surface) + y * cairo_image_surface_get_stride(_surface);
        const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
        return rgbOf(pixel);
    }
    bool writePng(const std::string& path) const {
        cairo_surface_flush(_surface);
        return cairo_surface_write_to_png(_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    }

private:
    cairo_surface_t* _surface;
    cairo_t* _cr;
};

const Rgb kInk = rgbOf(0xFF2B1C05);

class PayWindowPaintTest : public PortalWindowFixture {
protected:
    void SetUp() override {
        PortalWindowFixture::SetUp();
        WebViewRuntime::instance().install(true);
        makeGameWindow();
        ASSERT_TRUE(portal::openPayWebView("https://localhost:18443/", ""));
        pumpAll();
        ASSERT_TRUE(setClientSize(portal::payWindow(), kClientWidth, 700));
    }
    void TearDown() override {
        resetSystemFonts();
        PortalWindowFixture::TearDown();
    }

    static HWND button(int id) { return portal::payWindowButton(id); }
    // The button's rectangle in the window's client coordinates.
    static RECT itemOf(int id) {
        RECT r;
        getWindowRect(button(id), &r);
        POINT p{r.left, r.top};
        screenToClient(portal::payWindow(), &p);
        return RECT{p.x, p.y, p.x + r.width(), p.y + r.height()};
    }
    static void setState(int id, bool hover, bool pressed) {
        portal::PayButtonHover& s = portal::payButtonHoverState(button(id));
        s.hover = hover;
        s.pressed = pressed;
        invalidateRect(button(id), nullptr, false);
    }
    static void paint(Canvas& canvas) {
        portal::payWindowPaintHeader(portal::payWindow(), canvas.cr());
        for (int id : {portal::kPayButtonBack, portal::kPayButtonHistory, portal::kPayButtonHome}) {
            portal::payWindowDrawButton(button(id), id, canvas.cr(), itemOf(id));
        }
    }
    // First row (from the top) in column x of the button whose pixel is ink-dark.
    static int firstInkRow(const Canvas& canvas, int id, int xInButton) {
        const RECT item = itemOf(id);
        for (int y = item.top; y < item.bottom; ++y) {
            if (distance(canvas.at(item.left + xInButton, y), kInk) < 60) return y - item.top;
        }
        return -1;
    }
};

TEST_F(PayWindowPaintTest, HeaderFillsRowsZeroToFiftyOneWithTheSeparatorOnRowFiftyOne) {
    Canvas canvas;
    portal::payWindowPaintHeader(portal::payWindow(), canvas.cr());
    for (int x : {0, 300, kClientWidth - 1}) {
        for (int y = 0; y < 51; ++y) {
            EXPECT_LE(distance(canvas.at(x, y), gradientAt(0xFF2A241E, 0xFF1B1713, 0, 52, y)), 3) << x << "," << y;
        }
        EXPECT_EQ(distance(canvas.at(x, 51), rgbOf(0xFF4A3C2A)), 0) << x;
        EXPECT_EQ(canvas.at(x, 52).a, 0) << "nothing below the header, column " << x;
    }
    // A window without width paints nothing.
    Canvas empty;
    portal::paintHeaderBand(empty.cr(), 0);
    EXPECT_EQ(empty.at(0, 0).a, 0);
}

TEST_F(PayWindowPaintTest, BodyColoursFollowHoverAndPress) {
    struct Case {
        const char* name;
        bool hover, pressed;
        uint32_t top, bottom;   // the gradient's ends from row 1 to row h - 1
    };
    const Case cases[] = {
        {"normal", false, false, 0xFFE3BB5A, 0xFFB8882A},
        {"hovered", true, false, 0xFFF2CE74, 0xFFC99835},
        {"pressed", false, true, 0xFFB8882A, 0xFFE3BB5A},
        {"pressed while hovered", true, true, 0xFFB8882A, 0xFFE3BB5A},
    };
    const int id = portal::kPayButtonHistory;
    const RECT item = itemOf(id);
    const int h = item.height();
    for (const Case& c : cases) {
        setState(id, c.hover, c.pressed);
        Canvas canvas;
        paint(canvas);
        // Below the caption, right of it, clear of border and gloss.
        for (int y : {h - 6, h - 4}) {
            const Rgb expected = gradientAt(c.top, c.bottom, 1, h - 1, y);
            EXPECT_LE(distance(canvas.at(item.right - 12, item.top + y), expected), 4) << c.name << " row " << y;
        }
    }
}

TEST_F(PayWindowPaintTest, GlossOnlyWhileNotPressed) {
    const int id = portal::kPayButtonHome;
    const RECT item = itemOf(id);
    const int h = item.height();
    const int y = 6;
    const double glossEnd = 0.55 * (h - 2) + 1;
    for (bool pressed : {false, true}) {
        setState(id, false, pressed);
        Canvas canvas;
        paint(canvas);
        const Rgb body = pressed ? gradientAt(0xFFB8882A, 0xFFE3BB5A, 1, h - 1, y)
                                 : gradientAt(0xFFE3BB5A, 0xFFB8882A, 1, h - 1, y);
        Rgb expected = body;
        if (!pressed) {
            const double alpha = 0x5A / 255.0 * (1 - (y + 0.5 - 1) / (glossEnd - 1));
            expected = mix(body, rgbOf(0xFFF6E0A8), alpha);
        }
        EXPECT_LE(distance(canvas.at(item.right - 12, item.top + y), expected), 4) << "pressed " << pressed;
        EXPECT_GT(distance(body, expected) + (pressed ? 100 : 0), 20) << "the gloss shows";
    }
}

TEST_F(PayWindowPaintTest, ArrowheadForReturnButtonsHouseForHome) {
    Canvas canvas;
    paint(canvas);
    for (int id : {portal::kPayButtonBack, portal::kPayButtonHistory, portal::kPayButtonHome}) {
        const RECT item = itemOf(id);
        const int cy = item.height() / 2;
        const bool house = id == portal::kPayButtonHome;
        // Inside the arrowhead's upper corner, outside the house's roof.
        EXPECT_EQ(distance(canvas.at(item.left + 25, item.top + cy - 4), kInk) < 60, !house) << id;
        // Under the roof's peak, above the arrowhead.
        EXPECT_EQ(distance(canvas.at(item.left + 21, item.top + cy - 5), kInk) < 60, house) << id;
    }
}

TEST_F(PayWindowPaintTest, IconAndCaptionMoveOneRowDownWhenPressed) {
    const int id = portal::kPayButtonBack;
    Canvas normal;
    setState(id, false, false);
    paint(normal);
    Canvas pressed;
    setState(id, false, true);
    paint(pressed);
    const int iconColumn = 20;
    ASSERT_GE(firstInkRow(normal, id, iconColumn), 0);
    EXPECT_EQ(firstInkRow(pressed, id, iconColumn), firstInkRow(normal, id, iconColumn) + 1);
    // The caption: the first ink row over the caption area.
    auto captionTop = [&](const Canvas& canvas) {
        const RECT item = itemOf(id);
        for (int y = 0; y < item.height(); ++y) {
            for (int x = 40; x < item.width() - 20; ++x) {
                if (distance(canvas.at(item.left + x, item.top + y), kInk) < 60) return y;
            }
        }
        return -1;
    };
    ASSERT_GT(captionTop(normal), 0);
    EXPECT_EQ(captionTop(pressed), captionTop(normal) + 1);
}

TEST_F(PayWindowPaintTest, CornersShowTheHeaderAtTheButtonsPlace) {
    Canvas header;
    portal::payWindowPaintHeader(portal::payWindow(), header.cr());
    Canvas full;
    paint(full);
    for (int id : {portal::kPayButtonBack, portal::kPayButtonHistory, portal::kPayButtonHome}) {
        const RECT item = itemOf(id);
        for (POINT p : {POINT{item.left, item.top}, POINT{item.right - 1, item.top}, POINT{item.left, item.bottom - 1},
                        POINT{item.right - 1, item.bottom - 1}}) {
            EXPECT_LE(distance(full.at(p.x, p.y), header.at(p.x, p.y)), 1) << id << " at " << p.x << "," << p.y;
        }
    }
}

TEST_F(PayWindowPaintTest, CaptionFallsBackToSegoeUiWhenTheMessageFaceIsMissing) {
    struct Case {
        const char* face;
        bool readable;
    };
    for (const Case& c : {Case{"Sans", true}, Case{"", true}, Case{"Sans", false}}) {
        setMessageFontFaceForTesting(c.face, c.readable);
        Canvas canvas;
        paint(canvas);
        const RECT item = itemOf(portal::kPayButtonBack);
        int ink = 0;
        for (int y = item.top; y < item.bottom; ++y) {
            for (int x = item.left + 30; x < item.right - 12; ++x) ink += distance(canvas.at(x, y), kInk) < 60;
        }
        EXPECT_GT(ink, 40) << "caption drawn with face '" << c.face << "'";
    }
}

TEST_F(PayWindowPaintTest, HoverPressAndLeaveFollowTheMouse) {
    const HWND b = button(portal::kPayButtonHistory);
    RECT r;
    getWindowRect(b, &r);
    const portal::PayButtonHover& state = portal::payButtonHoverState(b);
    moveCursorTo(POINT{r.left + 20, r.top + 10});
    EXPECT_TRUE(state.hover);
    EXPECT_TRUE(state.leaveWatch);
    pressLeftButton();
    EXPECT_TRUE(state.pressed);
    sendMessage(b, WM_CAPTURECHANGED, 0, 0);
    EXPECT_FALSE(state.pressed);
    pressLeftButton();
    releaseLeftButton();
    EXPECT_FALSE(state.pressed);
    moveCursorTo(POINT{r.right + 200, r.top + 10});
    EXPECT_TRUE(state.hover) << "the leave arrives through the message loop";
    pumpAll();
    EXPECT_FALSE(state.hover);
    EXPECT_FALSE(state.leaveWatch);
}

TEST_F(PayWindowPaintTest, AFourthButtonSharesTheFirstHoverEntry) {
    portal::payButtonResetHover();
    const HWND first = button(portal::kPayButtonHome);
    portal::PayButtonHover& firstEntry = portal::payButtonHoverState(first);
    portal::payButtonHoverState(button(portal::kPayButtonBack));
    portal::payButtonHoverState(button(portal::kPayButtonHistory));
    WindowDesc desc;
    desc.className = "BUTTON";
    desc.parent = portal::payWindow();
    desc.windowRect = RECT{0, 0, 10, 10};
    const HWND fourth = createWindow(desc);
    EXPECT_EQ(&portal::payButtonHoverState(fourth), &firstEntry);
    portal::payButtonProc(fourth, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(firstEntry.pressed);
    EXPECT_EQ(firstEntry.button, first);
}

TEST_F(PayWindowPaintTest, TheWindowPaintsItsHeaderAndButtonsThroughTheMessageLoop) {
    setState(portal::kPayButtonHome, true, false);
    Canvas expected;
    paint(expected);
    pumpAll();
    const WindowImage image = composeWindow(portal::payWindow());
    ASSERT_EQ(image.width, kClientWidth);
    for (int y = 0; y < 52; y += 3) {
        for (int x = 0; x < kClientWidth; x += 7) {
            ASSERT_LE(distance(rgbOf(image.pixel(x, y)), expected.at(x, y)), 1) << x << "," << y;
        }
    }
    // A press on a button repaints it pressed.
    const RECT item = itemOf(portal::kPayButtonHistory);
    mouseButtonDown(button(portal::kPayButtonHistory), POINT{20, 10});
    pumpAll();
    const int h = item.height();
    EXPECT_LE(distance(rgbOf(composeWindow(portal::payWindow()).pixel(item.right - 12, item.top + h - 6)),
                       gradientAt(0xFFB8882A, 0xFFE3BB5A, 1, h - 1, h - 6)),
              4);
    mouseButtonUp(button(portal::kPayButtonHistory), POINT{20, 10});
}

TEST_F(PayWindowPaintTest, HeaderPictureForAPersonToLookAt) {
    setState(portal::kPayButtonHistory, false, false);
    setState(portal::kPayButtonHome, true, false);
    setState(portal::kPayButtonBack, true, true);
    Canvas canvas;
    paint(canvas);
    const std::string path = VEXO_BINARY_DIR "/pay-window-header.png";
    ASSERT_TRUE(canvas.writePng(path)) << path;
    std::cout << "[ INFO     ] header written to " << path << "\n";
}

}  // namespace
