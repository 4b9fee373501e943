#pragma once
// Turns a child's output bytes, arriving in pieces, into valid UTF-8: every byte
// that does not belong to a well-formed UTF-8 sequence (overlong forms, surrogates
// and code points past U+10FFFF included) becomes U+FFFD, and a sequence split
// between two pieces is kept whole.
#include <cstddef>
#include <string>

namespace player {

class TaskOutputDecoder {
public:
    // Appends the decoded text of `data` to `out`; an unfinished sequence at the end
    // waits for the next piece.
    void feed(const char* data, size_t size, std::string& out);
    // The end of the stream: an unfinished sequence becomes U+FFFD.
    void finish(std::string& out);

private:
    std::string _pending;
};

}  // namespace player
