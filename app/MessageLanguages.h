// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"

#include <string>
#include <vector>

namespace velmora {

// The languages to look for a catalogue in, most wanted first, chosen as gettext chooses: the
// locale of messages is LC_ALL, else LC_MESSAGES, else LANG; none, "C" or "POSIX" means the
// texts as written (English) and LANGUAGE is then ignored; otherwise LANGUAGE's colon-separated
// list comes first, then that locale. Each name loses its codeset and modifier and is followed
// by its bare language: "de_AT.UTF-8@euro" gives "de_AT", "de". The list ends at the first
// English name, English being the language the texts are written in; an empty list means
// English.
std::vector<std::string> messageLanguages(const Environment& environment);

} // namespace velmora
