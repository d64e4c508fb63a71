// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LineReader.h"

#include "base/DescriptorIo.h"

#include <cerrno>

namespace velmora {
namespace {

// Above this the buffer gives its memory back once it is empty: one very long line does not
// keep its size for the rest of the run.
constexpr std::size_t keptChunks = 4;

LineReader::Result tooLong(std::size_t discarded) {
    return {LineReader::Status::tooLong, {}, discarded, 0};
}

} // namespace

LineReader::LineReader(int fd, std::size_t maxLineBytes, std::size_t chunkBytes)
    : fd_(fd), maxLineBytes_(maxLineBytes), chunkBytes_(chunkBytes == 0 ? 1 : chunkBytes) {}

long LineReader::fill() {
    if (start_ == buffer_.size()) {
        buffer_.clear();
        if (buffer_.capacity() > keptChunks * chunkBytes_) {
            buffer_.shrink_to_fit();
        }
    } else {
        buffer_.erase(0, start_);
    }
    start_ = 0;
    const std::size_t kept = buffer_.size();
    buffer_.resize(kept + chunkBytes_);
    ++readCalls_;
    const ssize_t n = readSome(fd_, buffer_.data() + kept, chunkBytes_);
    buffer_.resize(kept + (n > 0 ? static_cast<std::size_t>(n) : 0));
    return n;
}

LineReader::Result LineReader::readLine() {
    std::size_t searched = 0;  // bytes after start_ known to hold no line feed
    std::size_t discarded = 0; // bytes of an overlong line dropped so far
    for (;;) {
        const std::size_t feed = buffer_.find('\n', start_ + searched);
        if (feed != std::string::npos) {
            const std::size_t length = feed - start_;
            Result result = discarded > 0 || length > maxLineBytes_
                                ? tooLong(discarded + length)
                                : Result{Status::line, buffer_.substr(start_, length), 0, 0};
            start_ = feed + 1;
            return result;
        }
        if (buffer_.size() - start_ > maxLineBytes_) {
            discarded += buffer_.size() - start_; // keep skipping up to the line feed
            start_ = buffer_.size();
        }
        searched = buffer_.size() - start_;
        const long n = fill();
        if (n < 0) {
            const int error = errno;
            start_ = buffer_.size();
            return {Status::failed, {}, 0, error};
        }
        if (n == 0) {
            const std::size_t rest = buffer_.size() - start_;
            start_ = buffer_.size();
            if (discarded > 0 || rest > maxLineBytes_) {
                return tooLong(discarded + rest);
            }
            if (rest > 0) {
                return {Status::line, buffer_.substr(buffer_.size() - rest), 0, 0};
            }
            return {};
        }
    }
}

std::size_t LineReader::discardBuffered() {
    const std::size_t count = buffer_.size() - start_;
    start_ = buffer_.size();
    return count;
}

} // namespace velmora
