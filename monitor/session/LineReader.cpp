#include "monitor/session/LineReader.h"

#include <cerrno>
#include <unistd.h>

namespace velmora {

LineReader::LineReader(int fd, std::size_t maxLineBytes) : fd_(fd), cap_(maxLineBytes) {}

bool LineReader::fill() {
    if (eof_) {
        return false;
    }
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            eof_ = true;
            return false;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }
}

LineReader::Status LineReader::next(std::string& line, std::size_t& discarded) {
    discarded = 0;
    bool dropping = false;
    std::size_t known = 0; // bytes after start_ already searched for a line feed
    for (;;) {
        std::size_t nl = buffer_.find('\n', start_ + known);
        if (nl != std::string::npos) {
            if (dropping) {
                discarded += nl - start_;
                start_ = nl + 1;
                return Status::oversized;
            }
            line.assign(buffer_, start_, nl - start_);
            start_ = nl + 1;
            return Status::line;
        }
        if (buffer_.size() - start_ > cap_) {
            dropping = true;
            discarded += buffer_.size() - start_;
            start_ = buffer_.size();
        }
        known = buffer_.size() - start_;
        if (!fill()) {
            if (dropping) {
                discarded += buffer_.size() - start_;
                start_ = buffer_.size();
                return Status::oversized;
            }
            if (start_ < buffer_.size()) {
                line.assign(buffer_, start_, buffer_.size() - start_);
                start_ = buffer_.size();
                return Status::line;
            }
            return Status::end;
        }
    }
}

} // namespace velmora
