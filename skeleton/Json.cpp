#include "skeleton/Json.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <unordered_map>

#include "skeleton/extension.h"

namespace {

const char* errorPosition = nullptr;

// The nodes and strings of one tree live in blocks taken through the allocation
// hooks and released together with the root: a tree of many small nodes costs a
// few allocations instead of one or two per node.
struct Block {
    Block* next;
    size_t used;
    size_t capacity;
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

class Arena {
public:
    void* allocate(size_t size, size_t align) {
        size_t start = _head ? (_head->used + align - 1) & ~(align - 1) : 0;
        if (!_head || start + size > _head->capacity) {
            size_t capacity = size > kBlockSize / 4 ? size : kBlockSize;
            auto* block = static_cast<Block*>(
                skeleton_malloc(sizeof(Block) + capacity, SK_SOURCE_NAME, __LINE__));
            block->capacity = capacity;
            block->used = 0;
            if (size > kBlockSize / 4 && _head) {
                // A large piece gets a block of its own behind the current one.
                block->next = _head->next;
                _head->next = block;
                block->used = size;
                return block->data();
            }
            block->next = _head;
            _head = block;
            start = 0;
        }
        _head->used = start + size;
        return _head->data() + start;
    }
    Block* take() {
        Block* blocks = _head;
        _head = nullptr;
        return blocks;
    }

private:
    static constexpr size_t kBlockSize = 64 * 1024;
    Block* _head = nullptr;
};

static_assert(sizeof(Block) % alignof(spJson) == 0, "nodes must stay aligned after a block header");

void releaseBlocks(Block* block) {
    while (block) {
        Block* next = block->next;
        skeleton_free(block);
        block = next;
    }
}

// Roots of the trees alive, with their blocks.
std::unordered_map<const spJson*, Block*>& liveTrees() {
    static std::unordered_map<const spJson*, Block*> trees;
    return trees;
}

// Numbers are read in the C locale whatever LC_NUMERIC the process runs under.
locale_t cLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

struct Parser {
    const char* end;
    Arena* arena;
    int depth = 0;
    const char* error = nullptr;

    const char* fail(const char* at) {
        error = at;
        return nullptr;
    }

    const char* skip(const char* p) const {
        while (p < end && static_cast<unsigned char>(*p) >= 1 && static_cast<unsigned char>(*p) <= 32) ++p;
        return p;
    }

    bool startsWith(const char* p, const char* word) const {
        size_t n = std::strlen(word);
        return static_cast<size_t>(end - p) >= n && std::memcmp(p, word, n) == 0;
    }

    spJson* newItem() {
        auto* item = static_cast<spJson*>(arena->allocate(sizeof(spJson), alignof(spJson)));
        std::memset(item, 0, sizeof(spJson));
        return item;
    }

    const char* parseValue(spJson* item, const char* p);
    const char* parseNumber(spJson* item, const char* p);
    const char* parseString(spJson* item, const char* p);
    // An array, or an object whose items carry their names.
    const char* parseContainer(spJson* item, const char* p, bool object);
    // Four hexadecimal digits at p; -1 when one of them is another character, -2
    // when the text ends before the fourth.
    int hex4(const char* p) const;
};


int saturatedInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.f) return 2147483647;
    if (value <= -2147483648.f) return -2147483647 - 1;
    return static_cast<int>(value);
}

bool numberChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '+' ||
           c == '-' || c == '(' || c == ')' || c == '_';
}

// Plain decimals ("-12.375") of at most 15 digits, the bulk of skeleton files:
// both parts are exact in a double, so one division rounds exactly as strtod
// does. Anything else (exponents, hexadecimal, infinities) goes to strtod.
bool plainDecimal(const char* p, const char* end, double* value, const char** stop) {
    static const double powers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* q = p;
    bool negative = q < end && *q == '-';
    if (negative) ++q;
    int64_t digits = 0;
    int count = 0, fraction = 0;
    const char* start = q;
    while (q < end && *q >= '0' && *q <= '9') {
        if (++count > 15) return false;
        digits = digits * 10 + (*q++ - '0');
    }
    if (q == start) return false;
    if (q < end && *q == '.') {
        const char* f = ++q;
        while (q < end && *q >= '0' && *q <= '9') {
            if (++count > 15) return false;
            digits = digits * 10 + (*q++ - '0');
        }
        fraction = static_cast<int>(q - f);
        if (fraction == 0) return false;
    }
    if (q < end && (*q == 'e' || *q == 'E' || *q == 'x' || *q == 'X' || *q == 'p' || *q == 'P'))
        return false;
    double v = static_cast<double>(digits) / powers[fraction];
    *value = negative ? -v : v;
    *stop = q;
    return true;
}

const char* Parser::parseNumber(spJson* item, const char* p) {
    double value = 0;
    const char* next = nullptr;
    if (!plainDecimal(p, end, &value, &next)) {
        // strtod needs a terminated text: copy the run of characters it could take.
        const char* q = p;
        while (q < end && numberChar(*q)) ++q;
        std::string text(p, q);
        char* stop = nullptr;
        value = strtod_l(text.c_str(), &stop, cLocale());
        if (stop == text.c_str()) return fail(p);
        next = p + (stop - text.c_str());
    }
    item->valueFloat = static_cast<float>(value);
    item->valueInt = saturatedInt(item->valueFloat);
    item->type = SP_JSON_NUMBER;
    return next;
}

int Parser::hex4(const char* p) const {
    int code = 0;
    for (int i = 0; i < 4; ++i) {
        if (p + i >= end) return -2;
        char c = p[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return -1;
        code = code * 16 + digit;
    }
    return code;
}

const char* Parser::parseString(spJson* item, const char* p) {
    if (p >= end || *p != '"') return fail(p);
    const char* start = p + 1;
    // The span up to the closing quote; a backslash takes the next character along.
    // A text ending inside the string, even inside an escape, ends the string.
    const char* q = start;
    while (q < end && *q != '"') {
        if (*q == '\\') {
            if (end - q < 2) {
                q = end;
                break;
            }
            ++q;
        }
        ++q;
    }
    const char* stop = q;
    char* out = static_cast<char*>(arena->allocate(static_cast<size_t>(stop - start) + 1, 1));
    char* o = out;
    for (const char* s = start; s < stop;) {
        if (*s != '\\') {
            *o++ = *s++;
            continue;
        }
        if (stop - s < 2) break;   // a backslash cut off by the end of the text
        char e = s[1];
        switch (e) {
        case 'b': *o++ = '\b'; s += 2; break;
        case 'f': *o++ = '\f'; s += 2; break;
        case 'n': *o++ = '\n'; s += 2; break;
        case 'r': *o++ = '\r'; s += 2; break;
        case 't': *o++ = '\t'; s += 2; break;
        case 'u': {
            int code = hex4(s + 2);
            if (code == -2) {   // the text ends inside the escape: so does the string
                s = stop;
                break;
            }
            if (code < 0) {
                return fail(s);
            }
            s += 6;
            unsigned int cp = static_cast<unsigned int>(code);
            if ((cp >= 0xDC00 && cp <= 0xDFFF) || cp == 0) break;   // lone low surrogate or NUL: dropped
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                if (stop - s < 2 || s[0] != '\\' || s[1] != 'u') break;   // no second escape: dropped
                int low = hex4(s + 2);
                if (low == -2) {
                    s = stop;
                    break;
                }
                if (low < 0) {
                    return fail(s);
                }
                s += 6;
                if (low < 0xDC00 || low > 0xDFFF) break;   // both dropped
                cp = 0x10000 + (((cp & 0x3FF) << 10) | (static_cast<unsigned int>(low) & 0x3FF));
            }
            if (cp < 0x80) {
                *o++ = static_cast<char>(cp);
            } else if (cp < 0x800) {
                *o++ = static_cast<char>(0xC0 | (cp >> 6));
                *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
                *o++ = static_cast<char>(0xE0 | (cp >> 12));
                *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                *o++ = static_cast<char>(0xF0 | (cp >> 18));
                *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
                *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            }
            break;
        }
        default:
            *o++ = e;
            s += 2;
            break;
        }
    }
    *o = '\0';
    item->valueString = out;
    item->type = SP_JSON_STRING;
    return stop < end ? stop + 1 : stop;
}

const char* Parser::parseContainer(spJson* item, const char* p, bool object) {
    if (depth >= SP_JSON_MAX_DEPTH) return fail(p);
    item->type = object ? SP_JSON_OBJECT : SP_JSON_ARRAY;
    const char close = object ? '}' : ']';
    p = skip(p + 1);
    if (p < end && *p == close) return p + 1;
    ++depth;
    spJson* last = nullptr;
    for (;;) {
        spJson* child = newItem();
        if (last) last->next = child;
        else item->child = child;
        last = child;
        item->size++;
        p = skip(p);
        if (object) {
            p = parseString(child, p);
            if (!p) return nullptr;
            child->name = child->valueString;
            child->valueString = nullptr;
            p = skip(p);
            if (p >= end || *p != ':') return fail(p);
            p = skip(p + 1);
        }
        p = parseValue(child, p);
        if (!p) return nullptr;
        p = skip(p);
        if (p < end && *p == ',') {
            ++p;
            continue;
        }
        break;
    }
    --depth;
    if (p < end && *p == close) return p + 1;
    return fail(p);
}

const char* Parser::parseValue(spJson* item, const char* p) {
    if (p >= end) return fail(p);
    switch (*p) {
    case 'n':
        if (!startsWith(p, "null")) return fail(p);
        item->type = SP_JSON_NULL;
        return p + 4;
    case 'f':
        if (!startsWith(p, "false")) return fail(p);
        item->type = SP_JSON_FALSE;
        return p + 5;
    case 't':
        if (!startsWith(p, "true")) return fail(p);
        item->type = SP_JSON_TRUE;
        item->valueInt = 1;
        return p + 4;
    case '"': return parseString(item, p);
    case '[': return parseContainer(item, p, false);
    case '{': return parseContainer(item, p, true);
    default:
        if (*p == '-' || (*p >= '0' && *p <= '9')) return parseNumber(item, p);
        return fail(p);
    }
}

bool equalsIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
        if (x == 0) return true;
    }
}

}  // namespace

spJson* spJson_create(const char* text) {
    if (!text) {
        errorPosition = nullptr;
        return nullptr;
    }
    return spJson_createWithLength(text, std::strlen(text));
}

spJson* spJson_createWithLength(const char* text, size_t length) {
    errorPosition = nullptr;
    if (!text) return nullptr;
    Arena arena;
    Parser parser{text + length, &arena};
    spJson* root = parser.newItem();
    if (!parser.parseValue(root, parser.skip(text))) {
        errorPosition = parser.error;
        releaseBlocks(arena.take());
        return nullptr;
    }
    liveTrees()[root] = arena.take();
    return root;
}

void spJson_dispose(spJson* node) {
    // A tree's memory goes with its root; an inner node is released with it.
    auto& trees = liveTrees();
    auto found = trees.find(node);
    if (found == trees.end()) return;
    releaseBlocks(found->second);
    trees.erase(found);
}

const char* spJson_getError() { return errorPosition; }

spJson* spJson_getItem(spJson* object, const char* key) {
    if (!object || !key) return nullptr;
    for (spJson* c = object->child; c; c = c->next)
        if (c->name && equalsIgnoringCase(c->name, key)) return c;
    return nullptr;
}

const char* spJson_getString(spJson* object, const char* key, const char* defaultValue) {
    spJson* item = spJson_getItem(object, key);
    return item ? item->valueString : defaultValue;
}

float spJson_getFloat(spJson* object, const char* key, float defaultValue) {
    spJson* item = spJson_getItem(object, key);
    return item ? item->valueFloat : defaultValue;
}

int spJson_getInt(spJson* object, const char* key, int defaultValue) {
    spJson* item = spJson_getItem(object, key);
    return item ? item->valueInt : defaultValue;
}
