// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmora {

// Writes one diagnostic line (the text plus a line feed) to standard error with a single
// write(), so lines written from different threads never interleave. Line breaks inside the
// text are replaced by spaces: every diagnostic stays exactly one line.
void writeDiagnosticLine(std::string_view text);

} // namespace velmora
