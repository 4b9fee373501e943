#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "host/app/WindowSettings.h"
#include "host/app/ZoomFit.h"
#include "support/TestSupport.h"

using namespace host;

TEST(WindowSettingsFile, ReadsZoomAndSwitches) {
    struct Case {
        const char* name;
        const char* text;   // nullptr: no file
        double zoom;
        bool pinned, muted;
    };
    const Case cases[] = {
        {"in range", "[Window]\nZoomPermille=1250\nPinned=1\nMusicMuted=0\n", 1.25, true, false},
        {"lower bound", "[Window]\nZoomPermille=200\n", 0.2, false, false},
        {"upper bound", "[Window]\nZoomPermille=4000\n", 4.0, false, false},
        {"below", "[Window]\nZoomPermille=199\n", 0, false, false},
        {"above", "[Window]\nZoomPermille=4001\n", 0, false, false},
        {"too small, not clamped", "[Window]\nZoomPermille=150\n", 0, false, false},
        {"not a number", "[Window]\nZoomPermille=abc\nPinned=yes\n", 0, false, false},
        {"trailing text", "[Window]\nZoomPermille=1250abc\nPinned=1x\n", 1.25, true, false},
        {"trailing comment", "[Window]\nZoomPermille=1250 ; c\n", 1.25, false, false},
        {"sign without digits", "[Window]\nZoomPermille=+x1250\n", 0, false, false},
        {"sign and blanks", "[Window]\n ZoomPermille = +1500 \nMusicMuted=-1\n", 1.5, false, true},
        {"saturating", "[Window]\nZoomPermille=99999999999999999999\nPinned=99999999999\n", 0, true, false},
        {"missing key", "[Window]\nPinned=0\n", 0, false, false},
        {"missing file", nullptr, 0, false, false},
        {"other section", "[Other]\nZoomPermille=1500\n[Window]\nMusicMuted=1\n", 0, false, true},
        {"other case", "[window]\nzoompermille=1500\nPINNED=1\n", 1.5, true, false},
        {"CRLF", "[Window]\r\nZoomPermille=1500\r\nPinned=1\r\nMusicMuted=1\r\n", 1.5, true, true},
        {"stray carriage returns", "[Window]\r\r\nZoomPermille=1500\r\r\n[Next]\r\r\nPinned=1\n", 1.5, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        const std::string path = c.text ? dir.write("pc_window.ini", c.text) : dir.file("pc_window.ini");
        const WindowSettings settings = readWindowSettings(path);
        EXPECT_DOUBLE_EQ(zoomFromPermille(settings.zoomPermille), c.zoom);
        EXPECT_EQ(settings.pinned, c.pinned);
        EXPECT_EQ(settings.musicMuted, c.muted);
    }
    EXPECT_EQ(readProfileInt("[Window]\nZoomPermille=-99999999999\n", "Window", "ZoomPermille", 7), INT_MIN);
}

TEST(WindowSettingsFile, SaveWritesTheThreeKeysAndKeepsEveryOtherLine) {
    struct Case {
        const char* name;
        const char* before;   // nullptr: no file
        const char* after;
    };
    const Case cases[] = {
        {"new file", nullptr, "[Window]\nZoomPermille=1250\nPinned=1\nMusicMuted=0\n"},
        {"replaced in place", "[Window]\nMusicMuted=1\nPinned=0\nZoomPermille=0\n",
         "[Window]\nMusicMuted=0\nPinned=1\nZoomPermille=1250\n"},
        {"other lines kept, CRLF read",
         "; note\r\n[Other]\r\nA=1\r\n[window]\r\npinned=0\r\nExtra=x\r\n\r\n[Third]\r\nB=2\r\n",
         "; note\n[Other]\nA=1\n[window]\nPinned=1\nExtra=x\nZoomPermille=1250\nMusicMuted=0\n\n[Third]\nB=2\n"},
        {"section appended", "[Other]\nA=1\n", "[Other]\nA=1\n[Window]\nZoomPermille=1250\nPinned=1\nMusicMuted=0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        const std::string path = c.before ? dir.write("pc_window.ini", c.before) : dir.file("pc_window.ini");
        ASSERT_TRUE(saveWindowSettings(path, WindowSettings{1250, true, false}));
        EXPECT_EQ(testsupport::readFile(path), c.after);
    }
    testsupport::TempDir dir;
    EXPECT_FALSE(saveWindowSettings(dir.file("missing/pc_window.ini"), WindowSettings{}));
    EXPECT_EQ(permilleFromZoom(0.8999999761581421), 900);
    EXPECT_EQ(permilleFromZoom(0), 0);
}

TEST(FitZoomScale, FitsCentresOrKeepsInsideTheWorkArea) {
    struct Case {
        const char* name;
        int workLeft, workTop, workWidth, workHeight;
        double zoom;
        int left, top;
        bool center;
        double scale;
        int x, y, outerWidth, outerHeight;
    };
    // Base 960 x 640; extras 78 (frame and sidebar) x 39.
    const Case cases[] = {
        {"automatic fit on a large screen", 0, 0, 1920, 1040, 0, 0, 0, true, 1.0, 441, 180, 1038, 679},
        {"user zoom that fits", 0, 0, 1920, 1040, 1.25, 0, 0, true, 1.25, 321, 100, 1278, 839},
        {"zoom the screen limits", 0, 0, 1920, 1040, 2.0, 0, 0, true, 985.0 / 640, 182, 8, 1555, 1024},
        {"larger than the work area", 0, 0, 50, 40, 0, 0, 0, true, 1.0 / 960, 8, 8, 79, 39},
        {"kept", 0, 0, 1920, 1040, 0, 300, 200, false, 1.0, 300, 200, 1038, 679},
        {"kept, clamped", 0, 0, 1920, 1040, 0, 1900, 1000, false, 1.0, 874, 353, 1038, 679},
        {"work area off the origin", 1920, 40, 1920, 1000, 0, 0, 0, true, 1.0, 2361, 200, 1038, 679},
        {"odd halves toward zero", -1920, 0, 1919, 1041, 0, 0, 0, true, 1.0, -1480, 181, 1038, 679},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FitResult fit = fitZoomScale(c.workLeft, c.workTop, c.workWidth, c.workHeight, 78, 39, 960, 640,
                                           c.zoom, c.left, c.top, c.center);
        EXPECT_DOUBLE_EQ(fit.scale, c.scale);
        EXPECT_EQ(fit.x, c.x);
        EXPECT_EQ(fit.y, c.y);
        EXPECT_EQ(fit.outerWidth, c.outerWidth);
        EXPECT_EQ(fit.outerHeight, c.outerHeight);
    }
}
