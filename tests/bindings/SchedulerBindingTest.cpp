// Script timers from scripts: the callback gets dt, the entry id comes back to
// unscheduleScriptEntry (also from inside the callback), and wrong counts and
// selves raise.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"

namespace bindingtest {
namespace {

class SchedulerBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        ASSERT_EQ(run("s = cc.Director:getInstance():getScheduler(); log = {}"), "");
    }
    void frames(int n, float dt) {
        for (int i = 0; i < n; ++i) engine::Director::getInstance()->getScheduler()->update(dt);
    }
};

TEST_F(SchedulerBindingTest, TimersCallWithDtUntilUnscheduled) {
    ASSERT_EQ(run("a = s:scheduleScriptFunc(function(dt) log[#log + 1] = 'a' .. dt end, 0.5, false)"
                  "b = s:scheduleScriptFunc(function(dt) log[#log + 1] = 'b' .. dt; s:unscheduleScriptEntry(b) end, 0, false)"
                  "p = s:scheduleScriptFunc(function() log[#log + 1] = 'p' end, 0, true)"),
              "");
    EXPECT_EQ(eval("type(a) .. ' ' .. tostring(a ~= b and b ~= p and a > 0)"), "number true");
    frames(4, 0.25f);
    EXPECT_EQ(eval("table.concat(log, ' ')"), "b0.25 a0.5 a0.5");
    ASSERT_EQ(run("s:unscheduleScriptEntry(a)"), "");
    frames(4, 0.25f);
    EXPECT_EQ(eval("#log"), "3");
}

TEST_F(SchedulerBindingTest, WrongCountsRaise) {
    const struct {
        const char* chunk;
        const char* error;
    } cases[] = {
        {"s:scheduleScriptFunc(function() end, 0)",
         "error: cc.Scheduler:scheduleScriptFunc has wrong number of arguments: 2, was expecting 3\n"},
        {"s:unscheduleScriptEntry()", "error: cc.Scheduler:unscheduleScriptEntry has wrong number of arguments: 0, was expecting 1\n"},
        {"s:unscheduleScriptEntry(1, 2)",
         "error: cc.Scheduler:unscheduleScriptEntry has wrong number of arguments: 2, was expecting 1\n"},
        {"cc.Scheduler.scheduleScriptFunc(nil, function() end, 0, false)",
         "error: invalid 'self' in function 'cc.Scheduler:scheduleScriptFunc'"},
        {"cc.Scheduler.unscheduleScriptEntry(cc.Node:create(), 1)",
         "error: invalid 'self' in function 'cc.Scheduler:unscheduleScriptEntry'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunk);
        EXPECT_EQ(eval(c.chunk), c.error);
    }
    // A handler that is not a function, an unreadable or NaN interval, an unreadable
    // flag: nothing scheduled, nothing kept.
    ASSERT_EQ(run("function held() local n = 0"
                  " for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end"
                  " return n end"
                  " before = held()"),
              "");
    for (const char* args : {"nil, 0, false", "{}, 0, false", "'f', 0, false", "function() end, {}, false",
                             "function() end, 0/0, false", "function() end, 0, {}"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(eval(std::string("(s:scheduleScriptFunc(") + args + "))"), "nil");
    }
    EXPECT_EQ(eval("held() - before"), "0");
}

}  // namespace
}  // namespace bindingtest
