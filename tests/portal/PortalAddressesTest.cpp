#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/UrlOpener.h"
#include "portal/ExternalUrl.h"
#include "portal/PortalAddresses.h"
#include "portal/SignIn.h"

namespace {

// The tests' portal root is the default https://localhost:18443/.
TEST(PortalAddresses, PagesHangOffTheRoot) {
    ASSERT_EQ(portal::signInEndpoints().portalRoot, "https://localhost:18443/");
    EXPECT_EQ(portal::portalHome(), "https://localhost:18443/");
    EXPECT_EQ(portal::portalPage("report.shtml"), "https://localhost:18443/report.shtml");
}

TEST(PortalAddresses, PortalAddressesMatchOnHostAndPort) {
    struct Case {
        const char* url;
        bool portal;
    };
    const Case cases[] = {
        {"https://localhost:18443/", true},
        {"https://LOCALHOST:18443/user/page.php?x=1", true},
        {"https://user@localhost:18443/x", true},
        {"http://localhost:18443", true},
        {"https://localhost/", false},                         // port 443
        {"https://localhost:184430/", false},
        {"https://localhost.evil.example:18443/", false},
        {"https://evil.example/?next=https://localhost:18443/", false},
        {"https://evil.example/localhost:18443/", false},
        {"localhost:18443/page", false},
        {"about:blank", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(portal::isPortalAddress(c.url), c.portal) << c.url;
}

TEST(PortalAddresses, TelegramLinks) {
    struct Case {
        const char* url;
        bool telegram;
    };
    const Case cases[] = {
        {"tg://resolve?domain=game", true},
        {"tg:resolve", true},
        {"https://t.me/gamechannel", true},
        {"http://T.ME/x", true},
        {"https://t.me", true},
        {"https://t.me.evil.example/x", false},
        {"https://evil.example/?u=//t.me/x", false},
        {"https://web.telegram.org/", false},
        {"TG:resolve", false},
    };
    for (const Case& c : cases) EXPECT_EQ(portal::isTelegramLink(c.url), c.telegram) << c.url;
}

TEST(PortalAddresses, WebAddressesAreHttpHttpsAndTheBlankPages) {
    struct Case {
        const char* url;
        bool web;
    };
    const Case cases[] = {
        {"https://localhost:18443/user.php", true},
        {"HTTP://example.com", true},
        {"about:blank", true},
        {"about:srcdoc", true},
        {"about:config", false},
        {"ABOUT:BLANK", false},
        {"https:///no-host", false},
        {"https:relative", false},
        {"javascript:alert(document.cookie)", false},
        {" javascript:alert(1)", false},
        {"file:///etc/passwd", false},
        {"data:text/html,<script>alert(1)</script>", false},
        {"blob:https://localhost:18443/0b7e", false},
        {"tg://resolve?domain=x", false},
        {"vexo://tgdone?code=1000", false},
        {"ftp://example.com/", false},
        {"/etc/passwd", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(portal::isWebAddress(c.url), c.web) << c.url;
}

TEST(PortalAddresses, TheExternalOpenerTakesOnlyWebAndTelegramSchemes) {
    std::vector<std::string> opened;
    platform::setUrlOpenerForTesting([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    struct Case {
        const char* url;
        bool opens;
    };
    const Case cases[] = {
        {"https://t.me/x", true},
        {"HTTP://example.com/", true},
        {"tg://resolve?domain=x", true},
        {"Tg:msg", true},
        {"file:///etc/passwd", false},
        {"/usr/bin/xterm", false},
        {"javascript:alert(1)", false},
        {"mailto:a@b.c", false},
        {"ftp://example.com/", false},
        {"-h", false},
        {"", false},
    };
    for (const Case& c : cases) {
        opened.clear();
        EXPECT_EQ(portal::openExternalUrl(c.url), c.opens) << c.url;
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u) << c.url;
    }
    platform::setUrlOpenerForTesting({});
}

}  // namespace
