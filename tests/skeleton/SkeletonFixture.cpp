#include "skeleton/SkeletonFixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/ImageEncoder.h"

namespace skeleton_test {

void writePng(const std::string& path, int width, int height) {
    std::vector<unsigned char> out = testsupport::encodeBlankPng(width, height);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()),
                                                static_cast<std::streamsize>(out.size()));
}

std::string makeAtlasFolder(const std::string& name) {
    // One folder per process: test cases run as parallel processes.
    std::string dir = std::string(VEXO_BINARY_DIR) + "/test-skeleton/" + name + "-" + std::to_string(getpid()) + "/";
    static std::vector<std::string> made;
    if (made.empty()) std::atexit([] {
        std::error_code ignored;
        for (const std::string& d : made) std::filesystem::remove_all(d, ignored);
    });
    made.push_back(dir);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    writePng(dir + "page1.png", 64, 32);
    writePng(dir + "page2.png", 128, 64);
    return dir;
}

const char* const kAtlas =
    "\n"
    "page1.png\n"
    "size: 100,50\n"
    "format: RGBA8888\n"
    "filter: Linear,Nearest\n"
    "repeat: none\n"
    "head\n"
    "  rotate: false\n"
    "  xy: 0, 0\n"
    "  size: 16, 16\n"
    "  orig: 20, 18\n"
    "  offset: 2, 1\n"
    "  index: -1\n"
    "arm\n"
    "  rotate: true\n"
    "  xy: 16, 0\n"
    "  size: 8, 16\n"
    "  orig: 8, 16\n"
    "  offset: 0, 0\n"
    "  index: 7\n"
    "\n"
    "page2.png\n"
    "format: RGBA4444\n"
    "filter: MipMap,MipMap\n"
    "repeat: xy\n"
    "panel\n"
    "  rotate: false\n"
    "  xy: 32, 16\n"
    "  size: 32, 16\n"
    "  split: 1, 2, 3, 4\n"
    "  pad: 5, 6, 7, 8\n"
    "  orig: 40, 20\n"
    "  offset: 4, 2\n"
    "  index: 3\n"
    "skin\n"
    "  rotate: false\n"
    "  xy: 0, 0\n"
    "  size: 32, 32\n"
    "  split: 9, 9, 9, 9\n"
    "  orig: 32, 32\n"
    "  offset: 0, 0\n"
    "  index: -1\n"
    "head\n"
    "  rotate: false\n"
    "  xy: 64, 0\n"
    "  size: 4, 4\n"
    "  orig: 4, 4\n"
    "  offset: 0, 0\n"
    "  index: -1\n";

const char* const kSkeleton = R"({
"skeleton": {"hash": "h1", "skeleton": "2.1.27", "width": 100, "height": 200},
"bones": [
  {"name": "root"},
  {"name": "upper", "parent": "root", "length": 10, "x": 5, "rotation": 30, "scaleX": 2, "inheritScale": false},
  {"name": "lower", "parent": "upper", "length": 10, "x": 10, "flipY": true},
  {"name": "hand", "parent": "lower", "x": 10},
  {"name": "target", "parent": "root", "x": 15, "y": 5}
],
"ik": [{"name": "arm", "bones": ["upper", "lower"], "target": "target", "bendPositive": false, "mix": 0.5}],
"slots": [
  {"name": "head", "bone": "root", "attachment": "head", "color": "ff000080"},
  {"name": "arm", "bone": "upper", "attachment": "arm", "blend": "additive"},
  {"name": "mesh", "bone": "lower", "attachment": "panel", "blend": "Multiply"},
  {"name": "box", "bone": "hand", "attachment": "box", "blend": "screen"}
],
"skins": {
  "default": {
    "head": {"head": {"x": 1, "y": 2, "width": 16, "height": 18}},
    "arm": {"arm": {"rotation": 90, "width": 8, "height": 16, "color": "00ff00ff"}},
    "mesh": {"panel": {"type": "mesh", "uvs": [0, 0, 1, 0, 1, 1, 0, 1], "vertices": [0, 0, 10, 0, 10, 10, 0, 10],
                       "triangles": [0, 1, 2, 2, 3, 0], "hull": 4, "edges": [0, 2, 2, 4]}},
    "box": {"box": {"type": "boundingbox", "vertices": [0, 0, 4, 0, 4, 4]}},
    "nowhere": {"head": {}}
  },
  "alt": {
    "mesh": {"panel": {"type": "skinnedmesh", "path": "skin", "uvs": [0, 0, 1, 0, 1, 1],
                       "vertices": [1, 2, 3, 1, 1,  2, 1, 0, 0.5, 0.5, 4, 2, 0, 0.5,  1, 3, 4, 5, 1],
                       "triangles": [0, 1, 2]}},
    "head": {"head": {"name": "bighead", "path": "head", "width": 20}}
  }
},
"events": {"hit": {"int": 3, "float": 0.5, "string": "ouch"}, "step": {}},
"animations": {
  "walk": {
    "slots": {"head": {"color": [{"time": 0, "color": "00ff00ff"}, {"time": 2}],
                       "attachment": [{"time": 0.5, "name": null}, {"time": 1, "name": "head"}]}},
    "bones": {
      "upper": {"rotate": [{"time": 0, "angle": 10, "curve": [0.25, 0, 0.75, 1]}, {"time": 1, "angle": 20}],
                "translate": [{"time": 0, "x": 1, "y": 2, "curve": "stepped"}, {"time": 0.5}],
                "scale": [{"time": 0, "x": 2, "y": 3, "curve": "Stepped"}, {"time": 0.25, "x": 1, "y": 1}],
                "flipX": [{"time": 0.75, "x": 1}]},
      "lower": {"flipY": [{"time": 0.5, "y": true}]}
    },
    "ik": {"arm": [{"time": 0, "mix": 1, "bendPositive": false}, {"time": 1}]},
    "ffd": {"default": {"mesh": {"panel": [{"time": 0}, {"time": 1, "offset": 2, "vertices": [1, 2]}]}},
            "alt": {"mesh": {"panel": [{"time": 0.25, "vertices": [1, 1, 1, 1, 1, 1, 1, 1]}, {"time": 0.5}]}}},
    "draworder": [{"time": 0, "offsets": [{"slot": "mesh", "offset": -2}]}, {"time": 1}],
    "events": [{"time": 0.5, "name": "hit"}, {"time": 1.5, "name": "step", "int": 7, "string": "s"}]
  },
  "broken": {"bones": {"nowhere": {"rotate": [{"time": 0}]}}},
  "idle": {"bones": {"root": {"rotate": [{"time": 3, "angle": 1}]}}}
}
})";

}  // namespace skeleton_test
