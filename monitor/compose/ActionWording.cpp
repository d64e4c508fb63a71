// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/ActionWording.h"

#include "monitor/common/Formatting.h"

namespace velmora {

ActionDescriptor codedAction(ActionId id, ActionLabel label, ActionStyle style,
                             std::string targetKey, std::optional<std::string> name) {
    ActionLabelCodes code{label, {.name = std::move(name)}};
    ActionDescriptor action =
        makeAction(id, englishText(labelPattern(label), code.figures), style, std::move(targetKey));
    action.labelCode = std::move(code);
    return action;
}

ActionFeedbackSnapshot codedFeedback(ActionFeedbackKind kind, FeedbackCode code,
                                     ActionFigures figures) {
    ActionFeedbackSnapshot feedback;
    feedback.kind = kind;
    feedback.title = englishText(feedbackTitlePattern(code), figures);
    feedback.message = englishText(feedbackMessagePattern(code), figures);
    feedback.codes = FeedbackCodes{code, std::move(figures)};
    return feedback;
}

DestructiveConfirmationSnapshot codedConfirmation(ConfirmationCode code, ActionFigures figures,
                                                  ActionDescriptor confirm,
                                                  ActionDescriptor cancel) {
    DestructiveConfirmationSnapshot confirmation;
    confirmation.title = englishText(confirmationTitlePattern(code), figures);
    confirmation.message = englishText(confirmationMessagePattern(code, figures), figures);
    confirmation.confirmAction = std::move(confirm);
    confirmation.cancelAction = std::move(cancel);
    confirmation.codes = ConfirmationCodes{code, std::move(figures)};
    return confirmation;
}

DestructiveConfirmationSnapshot forceQuitConfirmation(const FamilyView& family) {
    return codedConfirmation(
        ConfirmationCode::forceQuit,
        {.name = family.title, .count = static_cast<int64_t>(family.members.size())},
        codedAction(ActionId::confirmForceQuit, ActionLabel::forceQuit, ActionStyle::destructive,
                    family.key),
        codedAction(ActionId::cancelForceQuit, ActionLabel::cancel, ActionStyle::secondary,
                    family.key));
}

IncidentTimelineItem timelineEvent(double atSeconds, TimelineEventCode code, ActionFigures figures,
                                   TimelineTone tone) {
    figures.atSeconds = atSeconds;
    IncidentTimelineItem item{formatClock(atSeconds),
                              englishText(timelineEventTitlePattern(code), figures),
                              englishText(timelineEventDetailPattern(code), figures), tone};
    item.codes = TimelineEventCodes{code, std::move(figures)};
    return item;
}

} // namespace velmora
