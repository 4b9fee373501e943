#include <gtest/gtest.h>

#include <string>

#include "portal/SignInValues.h"

using namespace portal;

namespace {

struct Case {
    std::string text, key, expected;
};

void check(std::string (*read)(std::string_view, std::string_view), const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " [" + c.key + "]");
        EXPECT_EQ(read(c.text, c.key), c.expected);
    }
}

TEST(SignInValuesTest, QueryValueDecodes) {
    const std::string tg = "vexo://tgdone?code=1000&userid=42&sign=abc&timestamp=17&rt=";
    check(urlQueryValue, {
        {tg, "code", "1000"},
        {tg, "timestamp", "17"},
        {tg, "rt", ""},
        {tg, "missing", ""},
        {"vexo://tgdone", "code", ""},
        {"x?userid=a%20b&sign=x+y", "userid", "a b"},
        {"x?userid=a%20b&sign=x+y", "sign", "x y"},
        {"x?k=%41%6a%7C", "k", "Aj|"},
        {"x?k=50%", "k", "50%"},
        {"x?k=%4", "k", "%4"},
        {"x?k=%4g1", "k", "%4g1"},
        {"x?k=%zz&j=1", "k", "%zz"},
        {"x?k=a%00b", "k", std::string("a\0b", 3)},
        {"x?xcode=1&code=2", "code", "2"},
        {"x?code=1&code=2", "code", "1"},
        {"x?code=1#code=2", "code", "1"},
        {"x?a=1#rt=secret", "rt", ""},         // the fragment is not part of the query
        {"x#frag?code=1", "code", ""},         // a "?" inside the fragment starts no query
        {"x?code=1&ticket=T#frag&x", "ticket", "T"},
    });
}

TEST(SignInValuesTest, ParamAndFragmentValuesAreRaw) {
    check(urlParamValue, {
        {"vexo://tgbind?code=1000&ticket=T#frag", "ticket", "T"},
        {"vexo://tgbind?code=1000&ticket=T#frag", "code", "1000"},
        {"x?ticket=a%20b+c", "ticket", "a%20b+c"},
        {"x#ticket=T", "ticket", ""},
        {"x?aticket=1", "ticket", ""},
    });
    check(urlFragmentValue, {
        {"https://p/gcallback.php#id_token=abc.def&state=1", "id_token", "abc.def"},
        {"https://p/gcallback.php#state=1&id_token=z", "id_token", "z"},
        {"https://p/x?id_token=q#a=1", "id_token", ""},
        {"https://p/x#xid_token=1", "id_token", ""},
        {"https://p/x#id_token=a%20b", "id_token", "a%20b"},
        {"no fragment", "id_token", ""},
    });
}

TEST(SignInValuesTest, JsonFieldValue) {
    check(jsonFieldValue, {
        {R"({"code":"1000","userid":"7"})", "code", "1000"},
        {R"({"code": 1000})", "code", "1000"},
        {"{\"code\":\t -12.5}", "code", "-12"},
        {R"({"code":true})", "code", ""},
        {R"({"code":null})", "code", ""},
        {R"({"other":"1"})", "code", ""},
        {R"({"code"})", "code", ""},
        {R"({"rt":"a\"b\\c\/d"})", "rt", "a\"b\\c/d"},
        {R"({"rt":"\u00e9\ud83d\ude00"})", "rt", "\xc3\xa9\xf0\x9f\x98\x80"},
        {R"({"rt":"line\nbreak"})", "rt", "line\nbreak"},
        {R"({"rt":"unterminated)", "rt", ""},
        {R"({"rt":"bad \q escape"})", "rt", ""},
        {R"({"rt":"\ud83d"})", "rt", ""},
        {R"({"rt":""})", "rt", ""},
        {R"(Notice: x {"code":"1000"})", "code", "1000"},
        {R"({"userid":"1","code":"1000"} {"code":"9"})", "code", "1000"},
    });
}

}  // namespace
