// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/MonitorContext.h"

#include "monitor/compose/ActionWording.h"

namespace velmora {

void MonitorContext::feedback(ActionFeedbackKind kind, FeedbackCode code, ActionFigures figures) {
    ActionFeedbackSnapshot item = codedFeedback(kind, code, std::move(figures));
    item.id = "feedback-" + std::to_string(++interaction.feedbackCounter);
    interaction.feedback = std::move(item);
    interaction.feedbackUntil = monotonicClock() + 8.0;
}

} // namespace velmora
