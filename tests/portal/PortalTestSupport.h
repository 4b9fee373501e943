#pragma once
// Fixture of the portal tests: a private user data home (so a private protection
// key) and a private writable folder for the saved login.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace portaltest {

class PortalFixture : public ::testing::Test {
protected:
    PortalFixture();
    ~PortalFixture() override;

    // A file in the writable folder.
    std::string writable(const std::string& name) const { return _writable + name; }
    void writeLoginFile(const std::string& text) const;
    std::string loginFile() const;
    // Names in the writable folder, sorted.
    std::vector<std::string> writableEntries() const;
    // Replace the protection key by another user's, or by an unusable one.
    void useOtherKey() const;
    void breakKey() const;

    testsupport::TempDir dir;

private:
    testsupport::EnvOverride _xdg;
    std::string _writable;
    std::string _previousWritable;
};

}  // namespace portaltest
