// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/Clipboard.h"

#include "monitor/common/ProcessLauncher.h"

#include <cstdlib>

namespace velmora {

bool copyToClipboard(const std::string& text) {
    if (std::getenv("WAYLAND_DISPLAY") != nullptr &&
        runWithInput("wl-copy", {"wl-copy"}, text, 2)) {
        return true;
    }
    if (std::getenv("DISPLAY") != nullptr &&
        (runWithInput("xclip", {"xclip", "-selection", "clipboard"}, text, 2) ||
         runWithInput("xsel", {"xsel", "--clipboard", "--input"}, text, 2))) {
        return true;
    }
    return false;
}

void copyWithFeedback(MonitorContext& context, const std::string& text, FeedbackCode copied) {
    const std::string preview = text.substr(0, std::min<std::size_t>(text.find('\n'), 200));
    if (copyToClipboard(text)) {
        context.feedback(ActionFeedbackKind::success, copied, {.detail = preview});
        return;
    }
    context.feedback(ActionFeedbackKind::error, FeedbackCode::copyFailed, {.detail = preview});
}

} // namespace velmora
