// Saved settings and the browser as scripts reach them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BindingTestSupport.h"
#include "engine/app/Application.h"
#include "engine/base/UserDefault.h"
#include "engine/files/FileUtils.h"
#include "platform/UrlOpener.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

struct NoLaunchApp : engine::Application {
    bool applicationDidFinishLaunching() override { return true; }
};

class AppServicesBindingTest : public BindingStackTest {
protected:
    void TearDown() override {
        engine::UserDefault::destroyInstance();
        engine::FileUtils::destroyInstance();
        platform::setUrlOpenerForTesting(nullptr);
        BindingStackTest::TearDown();
    }
    testsupport::TempDir dir;
};

TEST_F(AppServicesBindingTest, UserDefaultKeepsStringsAcrossAStart) {
    engine::FileUtils::getInstance()->setWritablePath(dir.path() + "/");
    ASSERT_EQ(run("u = cc.UserDefault:getInstance()"
                  "u:setStringForKey('role', '{\"id\":7}')"
                  "u:setStringForKey('bytes', 'a\\0b\\n')"
                  "u:flush()"),
              "");
    engine::UserDefault::destroyInstance();
    EXPECT_EQ(eval("cc.UserDefault:getInstance():getStringForKey('role')"), "{\"id\":7}");
    EXPECT_EQ(eval("cc.UserDefault:getInstance():getStringForKey('bytes') == 'a\\0b\\n'"), "true");
    EXPECT_EQ(eval("cc.UserDefault:getInstance():getStringForKey('none', 'x')"), "x");
    EXPECT_EQ(eval("cc.UserDefault:getInstance():getStringForKey('none')"), "");
}

TEST_F(AppServicesBindingTest, OpenUrlAnswersWhetherTheBrowserStarted) {
    NoLaunchApp app;
    std::vector<std::string> opened;
    platform::setUrlOpenerForTesting([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_EQ(eval("cc.Application:getInstance():openURL('https://portal.example/report.shtml')"), "true");
    EXPECT_EQ(eval("cc.Application:getInstance():openURL('file:///etc/passwd')"), "false");
    EXPECT_EQ(opened, std::vector<std::string>{"https://portal.example/report.shtml"});
}

}  // namespace
}  // namespace bindingtest
