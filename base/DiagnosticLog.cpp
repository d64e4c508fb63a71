// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DiagnosticLog.h"

#include "base/DescriptorIo.h"

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
    writeAll(STDERR_FILENO, line); // a diagnostic never fails
}

} // namespace velmora
