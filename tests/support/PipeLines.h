// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace velmora::testing {

// The lines a child writes to a pipe, read with a timeout: what it wrote past a line waits for
// the next call.
class PipeLines {
public:
    explicit PipeLines(int fd) : fd_(fd) {}

    // The next line without its line feed; nothing when the pipe ended or `timeoutSeconds`
    // passed first.
    std::optional<std::string> next(double timeoutSeconds);
    // What was read after the last line (an unfinished one), taken out.
    std::string takeRest();

private:
    int fd_;
    std::string buffer_;
};

} // namespace velmora::testing
