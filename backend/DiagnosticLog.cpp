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
    writeWholeLine(STDERR_FILENO, line);
}

void writeWholeLine(int fd, std::string_view line) {
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        written += static_cast<std::size_t>(n);
    }
}

} // namespace velmora
