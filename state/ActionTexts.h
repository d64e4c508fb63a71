// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/PopoverSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The texts about the person's actions, composed from the monitor's codes through the
// catalogue: a button's label ("Quit Firefox"), the question before an action that cannot be
// undone, and the banner after an action. Each reads, under an English locale, as the
// monitor's own text. None for a code this build does not know or whose figures are missing.
// The pattern in the person's language, filled with its figures in the local format; none when
// a figure it needs is missing.
std::optional<std::string> patternText(const ActionPattern& pattern, const ActionFigures& figures);

std::optional<std::string> actionLabelText(const ActionLabelCodes& label);
std::optional<std::string> confirmationTitleText(const ConfirmationCodes& confirmation);
std::optional<std::string> confirmationMessageText(const ConfirmationCodes& confirmation);
std::optional<std::string> feedbackTitleText(const FeedbackCodes& feedback);
std::optional<std::string> feedbackMessageText(const FeedbackCodes& feedback);

// As shown: composed from the codes when there are some, else the monitor's text.
std::string actionLabelShown(const ActionDescriptor& action);
std::string confirmationTitleShown(const DestructiveConfirmationSnapshot& confirmation);
std::string confirmationMessageShown(const DestructiveConfirmationSnapshot& confirmation);
std::string feedbackTitleShown(const ActionFeedbackSnapshot& feedback);
// A banner about heap tracking that could not be done or finish shows the reason composed from
// its sentences.
std::string feedbackMessageShown(const ActionFeedbackSnapshot& feedback);

} // namespace velmora
