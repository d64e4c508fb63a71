// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora {

// Reads newline-terminated lines from a descriptor (a pipe, a socket, a file) in large reads,
// keeping what it read past a line for the next call: one read brings many short lines, and a
// long line costs a read per chunk instead of one per byte. A line longer than the cap is
// discarded through its line feed and reported as too long instead of growing without bound.
// Reads interrupted by a signal are retried.
class LineReader {
public:
    static constexpr std::size_t defaultChunkBytes = std::size_t{64} << 10; // 64 KiB

    enum class Status {
        line,    // `text` holds a line without its line feed (a last line without one counts)
        tooLong, // a line over the cap was discarded through its line feed (`discarded` bytes)
        end,     // the stream ended before any byte of a line
        failed,  // a read failed (`error` is its errno); the bytes of the line so far are lost
    };

    struct Result {
        Status status = Status::end;
        std::string text;
        std::size_t discarded = 0;
        int error = 0;
    };

    LineReader(int fd, std::size_t maxLineBytes, std::size_t chunkBytes = defaultChunkBytes);

    Result readLine();

    // Drops the bytes already read past the last line returned (lines nobody asked for) and
    // says how many there were.
    std::size_t discardBuffered();

    // Number of read calls made so far, for measurements.
    std::uint64_t readCalls() const { return readCalls_; }

private:
    // Reads one chunk onto the end of the buffer: its size, 0 at the end, -1 on failure.
    long fill();

    int fd_;
    std::size_t maxLineBytes_;
    std::size_t chunkBytes_;
    std::string buffer_;
    std::size_t start_ = 0; // where the unread part of buffer_ begins
    std::uint64_t readCalls_ = 0;
};

} // namespace velmora
