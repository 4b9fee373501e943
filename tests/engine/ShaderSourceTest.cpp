// ES shader sources made fit for desktop GLSL: precision statements and words go,
// everything else stays byte for byte.
#include <gtest/gtest.h>

#include "engine/renderer/ShaderSource.h"

namespace {

TEST(ShaderSourceTest, PrecisionStatementsAndWordsAreDropped) {
    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        {"precision mediump float;\nvoid main() {}", "\nvoid main() {}"},
        {"#ifdef GL_ES\nprecision\thighp  int ;\n#endif", "#ifdef GL_ES\n\n#endif"},
        {"varying lowp vec4 c;uniform highp mat4 m;", "varying  vec4 c;uniform  mat4 m;"},
        {"float highpass = mediump_gain; // lowp", "float highpass = mediump_gain; // "},
        {"precision float;", "precision float;"},
        {"precision lowp", "precision "},
        {"precision lowp float", "precision  float"},
        {"myprecision lowp float;", "myprecision  float;"},
        {"#version 100\nprecision mediump float;", "#version 100\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(engine::withoutPrecisionQualifiers(c.source), c.expected);
    }
}

}  // namespace
