#pragma once
// Zip archives made in memory for the tests.
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// The bytes of a zip holding the given (name, content) entries, deflated, in order.
std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace testsupport
