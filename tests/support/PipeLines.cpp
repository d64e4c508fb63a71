// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/PipeLines.h"

#include "base/DescriptorIo.h"

#include <cerrno>
#include <chrono>
#include <poll.h>

namespace velmora::testing {

std::optional<std::string> PipeLines::next(double timeoutSeconds) {
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        std::size_t nl = buffer_.find('\n');
        if (nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd item{fd_, POLLIN, 0};
        int ready = ::poll(&item, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char chunk[65536];
        ssize_t n = readSome(fd_, chunk, sizeof chunk);
        if (n <= 0) {
            return std::nullopt;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

std::string PipeLines::takeRest() {
    std::string rest;
    rest.swap(buffer_);
    return rest;
}

} // namespace velmora::testing
