// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/MonitorContext.h"

namespace velmora {

void MonitorContext::feedback(ActionFeedbackKind kind, std::string title, std::string message) {
    ActionFeedbackSnapshot item;
    item.id = "feedback-" + std::to_string(++interaction.feedbackCounter);
    item.kind = kind;
    item.title = std::move(title);
    item.message = std::move(message);
    interaction.feedback = std::move(item);
    interaction.feedbackUntil = monotonicClock() + 8.0;
}

} // namespace velmora
