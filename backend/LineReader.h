#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Reads one response line from a stream socket. No byte beyond the line feed is consumed:
// each chunk is first peeked (recv with MSG_PEEK), then exactly the bytes up to and including
// the line feed are taken, so the next line stays in the socket for the next exchange and
// nothing is buffered across calls.
class LineReader {
public:
    static constexpr std::size_t defaultMaxLineBytes = std::size_t{64} << 20; // 64 MiB
    static constexpr std::size_t defaultChunkBytes = std::size_t{64} << 10;   // 64 KiB

    enum class Status {
        line,        // a line ended by a line feed, or the bytes before end of stream
        endOfStream, // the stream ended before any byte of a line
        failed,      // a read failed; `error` describes it
        tooLong,     // the line exceeded the cap; it was discarded through its line feed
    };

    struct Result {
        Status status = Status::endOfStream;
        std::string text;  // the line without its line feed (status line)
        std::string error; // description for failed and tooLong
    };

    explicit LineReader(int fd, std::size_t maxLineBytes = defaultMaxLineBytes,
                        std::size_t chunkBytes = defaultChunkBytes);

    Result readLine();

    // Number of recv calls made so far (peeks and takes), for measurements.
    std::uint64_t readCalls() const { return readCalls_; }

private:
    long receive(char* buffer, std::size_t size, int flags);

    int fd_;
    std::size_t maxLineBytes_;
    std::vector<char> chunk_;
    std::uint64_t readCalls_ = 0;
};

} // namespace velmora
