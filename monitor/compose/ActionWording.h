// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/PopoverSnapshot.h"
#include "monitor/live/LiveView.h"
#include "monitor/where/EnglishText.h"

#include <optional>
#include <string>

namespace velmora {

// The monitor's English for the codes of model/ActionCodes: each text written from the code's
// own pattern and figures (englishText), so that the text sent and the code beside it say the
// same.

// An action of a well-known id with its label written from `label`, and the code beside it.
// `name` fills a label that names the app ("Quit Firefox").
ActionDescriptor codedAction(ActionId id, ActionLabel label, ActionStyle style,
                             std::string targetKey, std::optional<std::string> name = std::nullopt);

// The banner after an action, its title and message written from `code` (the id is left to
// the caller).
ActionFeedbackSnapshot codedFeedback(ActionFeedbackKind kind, FeedbackCode code,
                                     ActionFigures figures);

// The question before an action, its title and message written from `code`, with its two
// buttons.
DestructiveConfirmationSnapshot codedConfirmation(ConfirmationCode code, ActionFigures figures,
                                                  ActionDescriptor confirm,
                                                  ActionDescriptor cancel);

// The question before a force quit: "Force quit Firefox?", with its two buttons.
DestructiveConfirmationSnapshot forceQuitConfirmation(const FamilyView& family);

// An action's entry in a family's timeline at `atSeconds` (Unix seconds): its texts written
// from the code and figures, which travel with it.
IncidentTimelineItem timelineEvent(double atSeconds, TimelineEventCode code, ActionFigures figures,
                                   TimelineTone tone);

} // namespace velmora
