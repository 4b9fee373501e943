#include "engine/navmesh/NavMeshGeometry.h"

#include <cmath>
#include <sstream>

namespace engine {

namespace {

// Coordinates far beyond any game map would only make the voxel grid overflow.
constexpr float kMaxCoordinate = 1.0e6f;

bool usable(float value) { return std::isfinite(value) && std::fabs(value) <= kMaxCoordinate; }

}  // namespace

bool parseNavMeshLinks(const std::string& text, std::vector<NavMeshLink>* links, std::string* error) {
    std::vector<NavMeshLink> parsed;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream fields(line);
        float values[8];
        int count = 0;
        std::string field;
        bool bad = false;
        while (fields >> field) {
            if (count == 8) {
                bad = true;
                break;
            }
            char* end = nullptr;
            values[count] = std::strtof(field.c_str(), &end);
            if (end != field.c_str() + field.size() || !usable(values[count])) {
                bad = true;
                break;
            }
            ++count;
        }
        if (bad || count < 6 || (count >= 7 && values[6] <= 0.f) ||
            (count == 8 && values[7] != 0.f && values[7] != 1.f)) {
            if (error) *error = "bad off-mesh link at line " + std::to_string(number);
            return false;
        }
        NavMeshLink link;
        link.start = Vec3(values[0], values[1], values[2]);
        link.end = Vec3(values[3], values[4], values[5]);
        if (count >= 7) link.radius = values[6];
        if (count == 8) link.bidirectional = values[7] != 0.f;
        parsed.push_back(link);
    }
    *links = std::move(parsed);
    return true;
}

}  // namespace engine
