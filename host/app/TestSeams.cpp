// The test-only program's seams, linked into vexo-client-test and never into the
// program a user runs: before main, the environment of the program tests points
// the portal at their local host (VEXO_TEST_PORTAL_ROOT), trusts their test CA in
// the web view for the host names it issued (VEXO_TEST_WEBVIEW_CA) and may name
// another browser library (VEXO_TEST_WEBKIT_LIBRARY). Unset or empty: no change.
#include <cstdlib>
#include <string>

#include "platform/WebKitView.h"
#include "portal/SignIn.h"

namespace {

const char* setting(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

[[maybe_unused]] const bool kApplied = [] {
    if (const char* root = setting("VEXO_TEST_PORTAL_ROOT")) {
        std::string& portalRoot = portal::signInEndpoints().portalRoot;
        portalRoot = root;
        if (portalRoot.back() != '/') portalRoot += '/';
    }
    if (const char* anchor = setting("VEXO_TEST_WEBVIEW_CA")) platform::setWebKitTestTrustAnchor(anchor);
    if (const char* library = setting("VEXO_TEST_WEBKIT_LIBRARY")) platform::setWebKitLibraryForTesting(library);
    return true;
}();

}  // namespace
