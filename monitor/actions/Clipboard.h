// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/actions/MonitorContext.h"

#include <string>

namespace velmora {

// Copies text to the desktop clipboard with wl-copy, xclip or xsel.
bool copyToClipboard(const std::string& text);

// Copies `text` and says so in the feedback (`copied`, "Command copied", over its first line),
// or that no clipboard tool could take it.
void copyWithFeedback(MonitorContext& context, const std::string& text, FeedbackCode copied);

} // namespace velmora
