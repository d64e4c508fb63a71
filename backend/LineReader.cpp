#include "backend/LineReader.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace velmora {

LineReader::LineReader(int fd, std::size_t maxLineBytes, std::size_t chunkBytes)
    : fd_(fd), maxLineBytes_(maxLineBytes), chunk_(chunkBytes == 0 ? 1 : chunkBytes) {}

long LineReader::receive(char* buffer, std::size_t size, int flags) {
    for (;;) {
        ++readCalls_;
        const ssize_t n = ::recv(fd_, buffer, size, flags);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

LineReader::Result LineReader::readLine() {
    Result result{Status::line, {}, {}};
    std::string& line = result.text;
    bool overflowed = false;
    std::size_t bytesSeen = 0;
    for (;;) {
        const long peeked = receive(chunk_.data(), chunk_.size(), MSG_PEEK);
        if (peeked < 0) {
            return Result{Status::failed,
                          {},
                          std::string("failed to read response: ") + std::strerror(errno)};
        }
        if (peeked == 0) {
            if (bytesSeen == 0) {
                return Result{}; // the stream ended before any byte of a response
            }
            break; // the bytes read so far form the response
        }
        const auto* feed = static_cast<const char*>(std::memchr(chunk_.data(), '\n', peeked));
        const std::size_t take =
            feed ? static_cast<std::size_t>(feed - chunk_.data()) + 1 : std::size_t(peeked);
        // The peeked bytes are already queued, so this takes exactly `take` of them.
        const long taken = receive(chunk_.data(), take, MSG_WAITALL);
        if (taken < 0) {
            return Result{Status::failed,
                          {},
                          std::string("failed to read response: ") + std::strerror(errno)};
        }
        bytesSeen += std::size_t(taken);
        const std::size_t content = feed ? std::size_t(taken) - 1 : std::size_t(taken);
        if (!overflowed) {
            if (line.size() + content > maxLineBytes_) {
                overflowed = true;
                std::string().swap(line); // give the memory back while the rest is skipped
            } else {
                line.append(chunk_.data(), content);
            }
        }
        if (feed) {
            break;
        }
    }
    if (overflowed) {
        return Result{Status::tooLong,
                      {},
                      "response line exceeds " + std::to_string(maxLineBytes_) +
                          " bytes; the line was discarded"};
    }
    return result;
}

} // namespace velmora
