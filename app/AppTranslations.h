// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"

#include <QString>

namespace velmora {

// The folder of the app's compiled catalogues: translations/ beside the other resources
// (<prefix>/share/velmora/translations, which the build tree mirrors).
QString translationsFolder();

// Puts the app into the desktop's language: the catalogue velmora_<language>.qm in `folder` of
// the first of messageLanguages(environment) that has one is installed into the application,
// with Qt's own catalogue of that language (its standard dialogs and context menus) where the
// system has it, and the texts written by code without Qt are looked up through it as well.
// Numbers, sizes and dates follow the desktop's locale through QLocale, and so do the figures
// of the texts the app's state composes (base/NumberFormat). Returns
// the language installed; empty when the texts stay as written (English). Call once, after the
// application object exists and before any window is built.
QString installTranslations(const Environment& environment, const QString& folder);

} // namespace velmora
