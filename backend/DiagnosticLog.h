#pragma once

#include <string_view>

namespace velmora {

// Writes one diagnostic line (the text plus a line feed) to standard error with a single
// write(), so lines written from different threads never interleave. Line breaks inside the
// text are replaced by spaces: every diagnostic stays exactly one line.
void writeDiagnosticLine(std::string_view text);

// Writes `line` (which should end with its line feed) to `fd` with one write() call, going on
// with the rest only after a short write. Errors are ignored: a diagnostic never fails.
void writeWholeLine(int fd, std::string_view line);

} // namespace velmora
