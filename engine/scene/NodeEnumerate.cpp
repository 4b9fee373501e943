// Finding nodes by a path of name patterns (Node::enumerateChildren).
#include <string_view>
#include <vector>

#include "engine/scene/Node.h"

namespace engine {
namespace {

struct Segment {
    std::string_view pattern;   // ".." for the parent
    bool anyDepth = false;      // "//" stood before it
};

// Whether name matches pattern, where '*' stands for any run of characters.
bool matches(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

class Walk {
public:
    Walk(const std::vector<Segment>& segments, const std::function<bool(Node*)>& visit)
        : _segments(segments), _visit(visit) {}

    // True once visit answered true.
    bool from(Node* node, size_t index) {
        if (index == _segments.size()) return _visit(node);
        const Segment& segment = _segments[index];
        if (segment.pattern == "..") {
            Node* parent = node->getParent();
            return parent && from(parent, index + 1);
        }
        return below(node, index, segment.anyDepth);
    }

private:
    bool below(Node* node, size_t index, bool anyDepth) {
        // Held while visited: a visit may remove any of them.
        std::vector<Node*> children = node->getChildren();
        for (Node* child : children) child->retain();
        bool stopped = false;
        for (Node* child : children) {
            if (stopped) break;
            if (matches(_segments[index].pattern, child->getName())) stopped = from(child, index + 1);
            if (!stopped && anyDepth) stopped = below(child, index, true);
        }
        for (Node* child : children) child->release();
        return stopped;
    }

    const std::vector<Segment>& _segments;
    const std::function<bool(Node*)>& _visit;
};

}  // namespace

void Node::enumerateChildren(const std::string& path, const std::function<bool(Node*)>& visit) const {
    if (path.empty() || path.back() == '/' || !visit) return;
    std::vector<Segment> segments;
    std::string_view rest = path;
    bool anyDepth = false;
    bool first = true;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        const bool leading = first;
        first = false;
        if (part.empty()) {
            if (!leading) anyDepth = true;   // the second "/" of "//"; a lone leading "/" changes nothing
            continue;
        }
        segments.push_back({part, anyDepth && part != ".."});
        anyDepth = false;
    }
    if (segments.empty()) return;
    Walk(segments, visit).from(const_cast<Node*>(this), 0);
}

}  // namespace engine
