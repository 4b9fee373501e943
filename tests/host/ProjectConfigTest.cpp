#include "host/config/ProjectConfig.h"

#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "support/TestSupport.h"

using host::ProjectConfig;
using testing::ElementsAre;

namespace {

// A path as parsing makes it: absolute against the current folder.
std::string abs(const std::string& path) { return platform::absolutePath(path); }

std::vector<std::string> dumpLines(const ProjectConfig& config) {
    testsupport::LogCapture log;
    config.dump();
    return log.lines();
}

ProjectConfig parsed(std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/vexo-client");
    ProjectConfig config;
    config.parseCommandLine(args);
    return config;
}

}  // namespace

TEST(ProjectConfig, NewRecordDumpsDefaults) {
    ProjectConfig config;
    EXPECT_EQ(config.getWritableRealPath(), "");
    EXPECT_EQ(config.getScriptFileRealPath(), "");
    EXPECT_THAT(dumpLines(config),
                ElementsAre("Project Config:", "    project dir: ", "    writable path: $(PROJDIR)/",
                            "    script file: $(PROJDIR)/", "    frame size: 960 x 640",
                            "    frame scale: 1.00", "    show console: YES",
                            "    write debug log: NO ()", "    listen: ", "    debugger: none",
                            "    add searching path:", "\n\n"));
}

TEST(ProjectConfig, DumpOfAFilledRecord) {
    ProjectConfig config =
        parsed({"-workdir", "/game", "-entry", "/game/src/main.lua", "-resolution", "1280x720",
                "-scale", "0.5", "-console", "off", "-write-debug-log", "/game/logs/run.log", "-listen",
                "0.0.0.0", "-debugger", "studio", "-search-path", "/a;/b"});
    EXPECT_THAT(dumpLines(config),
                ElementsAre("Project Config:", "    project dir: /game/",
                            "    writable path: $(PROJDIR)/", "    script file: $(PROJDIR)/src/main.lua",
                            "    frame size: 1280 x 720", "    frame scale: 0.50",
                            "    show console: NO",
                            "    write debug log: /game/logs/run.log (/game/logs/run.log)",
                            "    listen: 0.0.0.0", "    debugger: Studio", "    add searching path:",
                            "        /a", "        /b", "\n\n"));
}

TEST(ProjectConfig, DumpNamesEveryDebugger) {
    const std::pair<int, const char*> cases[] = {{0, "    debugger: none"},
                                                 {1, "    debugger: Eclipse LDT"},
                                                 {2, "    debugger: Code IDE"},
                                                 {3, "    debugger: Studio"},
                                                 {7, "    debugger: none"}};
    for (const auto& [type, line] : cases) {
        ProjectConfig config;
        config.setDebuggerType(type);
        EXPECT_THAT(dumpLines(config), testing::Contains(line)) << type;
    }
}

struct PathCase {
    const char* name;
    std::function<void(ProjectConfig&)> apply;
    const char* storedScript;
    const char* realScript;
    const char* storedWritable;
    const char* realWritable;
};

TEST(ProjectConfig, PathsKeepTheirProjectRelativeForm) {
    const PathCase cases[] = {
        {"project folder gets a trailing slash", [](ProjectConfig& c) { c.setProjectDir("/game"); },
         "$(PROJDIR)/", "/game/", "$(PROJDIR)/", "/game/"},
        {"absolute script inside the project",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setScriptFile("/game/src/main.lua");
         },
         "$(PROJDIR)/src/main.lua", "/game/src/main.lua", "$(PROJDIR)/", "/game/"},
        {"absolute script outside the project",
         [](ProjectConfig& c) {
             c.setProjectDir("/game/");
             c.setScriptFile("/other/a.lua");
         },
         "/other/a.lua", "/other/a.lua", "$(PROJDIR)/", "/game/"},
        {"a sibling folder sharing the prefix is outside",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setScriptFile("/gamer/a.lua");
         },
         "/gamer/a.lua", "/gamer/a.lua", "$(PROJDIR)/", "/game/"},
        {"relative script",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setScriptFile("src/main.lua");
         },
         "$(PROJDIR)/src/main.lua", "/game/src/main.lua", "$(PROJDIR)/", "/game/"},
        {"backslash is an ordinary character",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setScriptFile("src\\main.lua");
         },
         "$(PROJDIR)/src\\main.lua", "/game/src\\main.lua", "$(PROJDIR)/", "/game/"},
        {"marker form is kept",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setScriptFile("$(PROJDIR)/x.lua");
         },
         "$(PROJDIR)/x.lua", "/game/x.lua", "$(PROJDIR)/", "/game/"},
        {"relative script survives a later project folder",
         [](ProjectConfig& c) {
             c.setScriptFile("src/main.lua");
             c.setProjectDir("/game");
         },
         "$(PROJDIR)/src/main.lua", "/game/src/main.lua", "$(PROJDIR)/", "/game/"},
        {"absolute script becomes relative once the project folder holds it",
         [](ProjectConfig& c) {
             c.setScriptFile("/game/src/main.lua");
             c.setProjectDir("/game");
         },
         "$(PROJDIR)/src/main.lua", "/game/src/main.lua", "$(PROJDIR)/", "/game/"},
        {"writable folder inside the project",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setWritablePath("/game/save");
         },
         "$(PROJDIR)/", "/game/", "$(PROJDIR)/save/", "/game/save/"},
        {"relative writable folder",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setWritablePath("save");
         },
         "$(PROJDIR)/", "/game/", "$(PROJDIR)/save/", "/game/save/"},
        {"writable folder outside the project",
         [](ProjectConfig& c) {
             c.setProjectDir("/game");
             c.setWritablePath("/var/data");
         },
         "$(PROJDIR)/", "/game/", "/var/data/", "/var/data/"},
        {"writable folder without a project folder",
         [](ProjectConfig& c) { c.setWritablePath("save"); }, "$(PROJDIR)/", "", "$(PROJDIR)/save/",
         "save/"},
    };
    for (const PathCase& tc : cases) {
        ProjectConfig config;
        tc.apply(config);
        EXPECT_EQ(config.getScriptFile(), tc.storedScript) << tc.name;
        EXPECT_EQ(config.getScriptFileRealPath(), tc.realScript) << tc.name;
        EXPECT_EQ(config.getWritablePath(), tc.storedWritable) << tc.name;
        EXPECT_EQ(config.getWritableRealPath(), tc.realWritable) << tc.name;
    }
}

TEST(ProjectConfig, DebugLogPathIsInsideTheProjectUnlessAbsolute) {
    ProjectConfig config;
    config.setProjectDir("/game");
    EXPECT_EQ(config.getDebugLogFilePath(), "/game/debug.log");
    config.setDebugLogFilePath("logs/x.log");
    EXPECT_EQ(config.getDebugLogFilePath(), "/game/logs/x.log");
    config.parseCommandLine({"prog", "-write-debug-log", "/log.txt"});
    EXPECT_EQ(config.getDebugLogFilePath(), "/log.txt");
    EXPECT_TRUE(config.isWriteDebugLogToFile());
}

TEST(ProjectConfig, FrameSizeScaleAndOrientation) {
    struct Case {
        engine::Size start;
        std::function<void(ProjectConfig&)> apply;
        engine::Size expected;
    };
    const Case cases[] = {
        {{960, 640}, [](ProjectConfig& c) { c.changeFrameOrientationToPortrait(); }, {640, 960}},
        {{640, 960}, [](ProjectConfig& c) { c.changeFrameOrientationToPortrait(); }, {640, 960}},
        {{640, 960}, [](ProjectConfig& c) { c.changeFrameOrientationToLandscape(); }, {960, 640}},
        {{960, 640}, [](ProjectConfig& c) { c.changeFrameOrientationToLandscape(); }, {960, 640}},
        {{700, 700}, [](ProjectConfig& c) { c.changeFrameOrientationToLandscape(); }, {700, 700}},
        {{700, 700}, [](ProjectConfig& c) { c.changeFrameOrientationToPortrait(); }, {700, 700}},
        {{960, 640}, [](ProjectConfig& c) { c.setFrameSize({0, 100}); }, {960, 640}},
        {{960, 640}, [](ProjectConfig& c) { c.setFrameSize({100, -1}); }, {960, 640}},
    };
    for (const Case& tc : cases) {
        ProjectConfig config;
        config.setFrameSize(tc.start);
        tc.apply(config);
        EXPECT_EQ(config.getFrameSize(), tc.expected)
            << tc.start.width << "x" << tc.start.height;
    }

    ProjectConfig config;
    config.setFrameScale(0);
    config.setFrameScale(-2);
    EXPECT_EQ(config.getFrameScale(), 1.0f);
}

TEST(ProjectConfig, CommandLineOptions) {
    struct Case {
        std::vector<std::string> args;
        std::function<void(const ProjectConfig&)> check;
    };
    auto size = [](float w, float h) {
        return [=](const ProjectConfig& c) { EXPECT_EQ(c.getFrameSize(), engine::Size(w, h)); };
    };
    auto scale = [](float s) {
        return [=](const ProjectConfig& c) { EXPECT_FLOAT_EQ(c.getFrameScale(), s); };
    };
    auto console = [](bool on) {
        return [=](const ProjectConfig& c) { EXPECT_EQ(c.isShowConsole(), on); };
    };
    auto offset = [](float x, float y) {
        return [=](const ProjectConfig& c) { EXPECT_EQ(c.getWindowOffset(), engine::Vec2(x, y)); };
    };
    auto debugger = [](int type) {
        return [=](const ProjectConfig& c) { EXPECT_EQ(c.getDebuggerType(), type); };
    };
    auto searchPath = [](std::vector<std::string> expected) {
        return [=](const ProjectConfig& c) { EXPECT_EQ(c.getSearchPath(), expected); };
    };
    const Case cases[] = {
        {{"-resolution", "1280x720"}, size(1280, 720)},
        {{"-resolution", "1280"}, size(960, 640)},
        {{"-resolution", "x720"}, size(960, 640)},
        {{"-resolution", "0x720"}, size(960, 640)},
        {{"-resolution", "800x600x4"}, size(800, 600)},
        {{"-resolution", "1280x720", "-landscape"}, size(960, 640)},
        {{"-resolution", "1280x720", "-portrait"}, size(640, 960)},
        {{"-Landscape", "-resolution", "1280x720"}, size(1280, 720)},
        {{"-scale", "0"}, scale(1.0f)},
        {{"-scale", "abc"}, scale(1.0f)},
        {{"-scale", "-1"}, scale(1.0f)},
        {{"-scale", "0.75"}, scale(0.75f)},
        {{"-console", "enable"}, console(true)},
        {{"-console", "disable"}, console(false)},
        {{"-console", "Enable"}, console(false)},
        {{"-console", ""}, console(false)},
        {{"-position", "10,0"}, offset(10, 0)},
        {{"-position", "300,200"}, offset(300, 200)},
        {{"-position", "-5,7"}, offset(-5, 7)},
        {{"-position", "10"}, offset(0, 0)},
        {{"-position", ",5"}, offset(0, 0)},
        {{"-debugger", "codeide"}, debugger(2)},
        {{"-debugger", "studio"}, debugger(3)},
        {{"-debugger", "codeide", "-debugger", "ldt"}, debugger(2)},
        {{"-search-path", "a;;b;"}, searchPath({abs("a"), "", abs("b")})},
        {{"-search-path", ";/a"}, searchPath({"", "/a"})},
        {{"-search-path", "/x", "-search-path", "/y;/z"}, searchPath({"/y", "/z"})},
        {{"-listen", "a", "-listen", "b"},
         [](const ProjectConfig& c) { EXPECT_EQ(c.getBindAddress(), "b"); }},
        {{"-app-menu", "-resize-window", "-retina-display"},
         [](const ProjectConfig& c) {
             EXPECT_TRUE(c.isAppMenu());
             EXPECT_TRUE(c.isResizeWindow());
             EXPECT_TRUE(c.isRetinaDisplay());
         }},
        {{"-workdir", "/game"},
         [](const ProjectConfig& c) {
             EXPECT_EQ(c.getProjectDir(), "/game/");
             EXPECT_EQ(c.getWritableRealPath(), "/game/");
         }},
        {{"-workdir", "/game", "-writable-path", "/w", "-entry", "/game/a.lua"},
         [](const ProjectConfig& c) {
             EXPECT_EQ(c.getWritableRealPath(), "/w/");
             EXPECT_EQ(c.getScriptFile(), "$(PROJDIR)/a.lua");
         }},
        // An empty project folder is no folder: the paths stored inside the
        // current one stay where they are.
        {{"-workdir", "/game", "-entry", "/game/a.lua", "-workdir", ""},
         [](const ProjectConfig& c) {
             EXPECT_EQ(c.getProjectDir(), "/game/");
             EXPECT_EQ(c.getScriptFileRealPath(), "/game/a.lua");
         }},
        // An option's value is consumed even when it looks like an option.
        {{"-listen", "-retina-display"},
         [](const ProjectConfig& c) {
             EXPECT_EQ(c.getBindAddress(), "-retina-display");
             EXPECT_FALSE(c.isRetinaDisplay());
         }},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(testing::PrintToString(tc.args));
        tc.check(parsed(tc.args));
    }
}

TEST(ProjectConfig, ValueOptionAsLastArgumentEndsParsing) {
    const ProjectConfig defaults;
    for (const char* option : {"-workdir", "-writable-path", "-entry", "-resolution", "-scale",
                               "-write-debug-log", "-console", "-position", "-debugger", "-listen",
                               "-search-path"}) {
        ProjectConfig config = parsed({"-retina-display", option});
        EXPECT_TRUE(config.isRetinaDisplay()) << option;
        EXPECT_EQ(config.makeCommandLine(), defaults.makeCommandLine()) << option;
        EXPECT_EQ(dumpLines(config), dumpLines(defaults)) << option;
    }
}

TEST(ProjectConfig, PortOptionOnlyLogs) {
    testsupport::LogCapture log;
    ProjectConfig config = parsed({"-port", "6010"});
    EXPECT_THAT(log.lines(), ElementsAre("TODO:"));
    EXPECT_EQ(config.getConsolePort(), 6010);
    EXPECT_EQ(config.getFileUploadPort(), 6020);
    EXPECT_EQ(config.makeCommandLine(), ProjectConfig().makeCommandLine());
}

TEST(ProjectConfig, CommandLineOfEveryOption) {
    ProjectConfig config =
        parsed({"-workdir", "/my game", "-entry", "/my game/src/main.lua", "-writable-path", "/w",
                "-resolution", "1280x720", "-scale", "0.333", "-write-debug-log", "/my game/d.log",
                "-console", "disable", "-position", "300,200", "-debugger", "codeide", "-listen",
                "127.0.0.1", "-search-path", "/a;/b c"});
    // The vector is what a new instance receives: values as they are, no quoting.
    EXPECT_THAT(config.makeCommandLineVector(ProjectConfig::kOptAll),
                ElementsAre("-workdir", "/my game/", "-entry", "/my game/src/main.lua",
                            "-writable-path", "/w/", "-resolution", "1280x720", "-scale", "0.33",
                            "-write-debug-log", "/my game/d.log", "-console", "disable",
                            "-position", "300,200", "-debugger", "codeide", "-listen", "127.0.0.1",
                            "-search-path", "/a;/b c"));
    EXPECT_EQ(config.makeCommandLine(ProjectConfig::kOptAll),
              "-workdir \"/my game/\" -entry \"/my game/src/main.lua\" -writable-path \"/w/\" "
              "-resolution 1280x720 -scale 0.33 -write-debug-log /my game/d.log -console disable "
              "-position 300,200 -debugger codeide -listen 127.0.0.1 -search-path \"/a\";\"/b c\"");

    // The mask selects options; bits 0x4 and 0x80 select nothing.
    EXPECT_EQ(config.makeCommandLine(ProjectConfig::kOptResolution | ProjectConfig::kOptListen),
              "-resolution 1280x720 -listen 127.0.0.1");
    EXPECT_EQ(config.makeCommandLine(0x4 | 0x80), "");
}

TEST(ProjectConfig, CommandLineConditions) {
    struct Case {
        std::vector<std::string> args;
        const char* expected;
    };
    const Case cases[] = {
        {{}, "-resolution 960x640 -console enable"},
        {{"-scale", "1.0"}, "-resolution 960x640 -console enable"},
        {{"-scale", "2"}, "-resolution 960x640 -console enable"},
        {{"-scale", "0.5"}, "-resolution 960x640 -scale 0.5 -console enable"},
        {{"-scale", "0.75"}, "-resolution 960x640 -scale 0.75 -console enable"},
        {{"-position", "10,0"}, "-resolution 960x640 -console enable"},
        {{"-position", "0,10"}, "-resolution 960x640 -console enable"},
        {{"-debugger", "studio"}, "-resolution 960x640 -console enable -debugger studio"},
        {{"-workdir", "/game/"},
         "-workdir \"/game/\" -entry \"/game/\" -writable-path \"/game/\" -resolution 960x640 "
         "-console enable"},
    };
    for (const Case& tc : cases) {
        EXPECT_EQ(parsed(tc.args).makeCommandLine(), tc.expected) << testing::PrintToString(tc.args);
    }

    ProjectConfig ldt;
    ldt.setDebuggerType(1);
    EXPECT_EQ(ldt.makeCommandLine(ProjectConfig::kOptDebugger), "");
}

TEST(ProjectConfig, CommandLineRoundTrips) {
    ProjectConfig original =
        parsed({"-workdir", "/game", "-entry", "src/main.lua", "-resolution", "1024x768",
                "-scale", "0.5", "-position", "30,40", "-debugger", "studio", "-listen", "::1",
                "-search-path", "x;y", "-console", "disable"});
    std::vector<std::string> args = original.makeCommandLineVector();
    args.insert(args.begin(), "prog");
    ProjectConfig copy;
    copy.parseCommandLine(args);
    EXPECT_EQ(dumpLines(copy), dumpLines(original));
    EXPECT_EQ(copy.getWindowOffset(), original.getWindowOffset());
}

// Quotes, spaces, a final backslash and empty search-path pieces reach a new
// instance as they are; the one-string form quotes paths.
TEST(ProjectConfig, AwkwardValuesSurviveTheRoundTrip) {
    struct Case {
        std::vector<std::string> args;
        const char* line;
    };
    const Case cases[] = {
        {{"-workdir", "/tmp/my\"game x", "-search-path", "/a;;/b"},
         "-workdir \"/tmp/my\"game x/\" -entry \"/tmp/my\"game x/\" -writable-path \"/tmp/my\"game x/\" "
         "-resolution 960x640 -console enable -search-path \"/a\";\"\";\"/b\""},
        {{"-writable-path", "/w\\", "-search-path", "/a;;"},
         "-writable-path \"/w\\/\" -resolution 960x640 -console enable -search-path \"/a\";\"\";"},
        {{"-search-path", ";", "-listen", "a b"},
         "-resolution 960x640 -console enable -listen a b -search-path \"\";"},
        {{"-entry", "/x\\"}, "-entry \"/x\\\\\" -resolution 960x640 -console enable"},
        {{"-write-debug-log", ""}, "-resolution 960x640 -write-debug-log  -console enable"},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(testing::PrintToString(tc.args));
        const ProjectConfig original = parsed(tc.args);
        EXPECT_EQ(original.makeCommandLine(), tc.line);
        const ProjectConfig copy = parsed(original.makeCommandLineVector());
        EXPECT_EQ(copy.makeCommandLineVector(), original.makeCommandLineVector());
        EXPECT_EQ(dumpLines(copy), dumpLines(original));
    }
}

// Relative folder and file options are made absolute against the current folder
// when parsed; a new instance starts in the project folder and still finds them.
TEST(ProjectConfig, RelativeOptionsSurviveARelaunchFromTheProjectFolder) {
    testsupport::TempDir dir;
    dir.write("game/main.lua", "");
    const std::string before = platform::currentDirectory();
    ASSERT_TRUE(platform::setCurrentDirectory(dir.path()));
    const ProjectConfig original =
        parsed({"-workdir", "game", "-writable-path", "save", "-entry", "game/main.lua",
                "-write-debug-log", "logs/d.log", "-search-path", "res;;more"});
    const std::string root = dir.path() + "/";
    EXPECT_EQ(original.getProjectDir(), root + "game/");
    EXPECT_EQ(original.getWritableRealPath(), root + "save/");
    EXPECT_EQ(original.getScriptFile(), "$(PROJDIR)/main.lua");
    EXPECT_EQ(original.getScriptFileRealPath(), root + "game/main.lua");
    EXPECT_EQ(original.getDebugLogFilePath(), root + "logs/d.log");
    EXPECT_THAT(original.getSearchPath(), ElementsAre(root + "res", "", root + "more"));

    ASSERT_TRUE(platform::setCurrentDirectory(original.getProjectDir()));
    const ProjectConfig relaunched = parsed(original.makeCommandLineVector());
    platform::setCurrentDirectory(before);
    EXPECT_EQ(relaunched.makeCommandLineVector(), original.makeCommandLineVector());
    EXPECT_EQ(dumpLines(relaunched), dumpLines(original));
}
