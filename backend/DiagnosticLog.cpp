#include "backend/DiagnosticLog.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace velmora {

void writeDiagnosticLine(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    for (char c : text) {
        line.push_back(c == '\n' || c == '\r' ? ' ' : c);
    }
    line.push_back('\n');
    // One write() per line; a short write (only possible on a full, non-blocking or
    // interrupted descriptor) continues with the rest so nothing is lost.
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(STDERR_FILENO, line.data() + written, line.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        written += static_cast<std::size_t>(n);
    }
}

} // namespace velmora
