#pragma once

#include <cstddef>
#include <string>

namespace velmora {

// Reads newline-terminated lines from a descriptor in large chunks. A line longer than the cap
// is discarded up to its line feed and reported as oversized instead of growing without bound.
class LineReader {
public:
    enum class Status { line, oversized, end };

    explicit LineReader(int fd, std::size_t maxLineBytes = 16 * 1024 * 1024);

    // On line: `line` holds it without the line feed (a final line without one counts too).
    // On oversized: `discarded` holds how many bytes were dropped.
    Status next(std::string& line, std::size_t& discarded);

private:
    bool fill();

    int fd_;
    std::size_t cap_;
    std::string buffer_;
    std::size_t start_ = 0;
    bool eof_ = false;
};

} // namespace velmora
