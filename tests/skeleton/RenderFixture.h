#pragma once
// Files for the skeleton node tests: a folder with two atlas pages (page1.png
// 64 x 64 holding the regions "quad" (8 x 4 at 0, 0) and "sheet" (32 x 32 at
// 0, 32); page2.png 16 x 16 holding "other"), its atlas text "parts.atlas" and
// skeleton documents written on request.
#include <string>

#include "support/TestSupport.h"

namespace skeleton_test {

class RenderFiles {
public:
    // Pages are transparent unless a solid RGBA colour is given for page1.
    explicit RenderFiles(unsigned int page1Rgba = 0);
    std::string atlas() const { return _dir.file("parts.atlas"); }
    // Writes a skeleton document and returns its path.
    std::string skeleton(const std::string& name, const std::string& json) const;
    std::string file(const std::string& name) const { return _dir.file(name); }

private:
    testsupport::TempDir _dir;
};

}  // namespace skeleton_test
