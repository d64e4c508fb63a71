// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace velmora::testing {

// Every text a person can read under `root` (the window's title, labels, buttons, group and
// tab titles, menu items, the texts the kit's widgets draw) that has letters outside brackets:
// under the pseudo-language every translated text is wrapped in brackets, so what is left
// outside them was never translated. `asSent` lists the texts shown as they come (the monitor's
// own sentences and names, proper names such as "Velmora"): they may stand outside brackets.
// Each finding names the widget and the text.
std::vector<QString> untranslatedTexts(const QWidget* root, const QStringList& asSent);

// The same check for one text that is not a widget's (a notification, a tooltip).
bool isTranslated(const QString& text, const QStringList& asSent);

} // namespace velmora::testing
