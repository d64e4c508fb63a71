// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/PlainTextButton.h"

namespace velmora {

// One choice of a small switch above a chart ("7 days | 30 days", "Family | PID 4242"): a plain
// text button in the caption's weight, reachable with Tab and pressed with Space.
PlainTextButton* choiceButton(const QString& label, const char* objectName, QWidget* parent);
// Shows whether `button` is the choice in effect: checked and in the strong text colour.
void markChosen(PlainTextButton* button, bool chosen);

} // namespace velmora
