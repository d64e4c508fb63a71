// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <QString>

namespace velmora {

// A snapshot whose tray icon shows `tone` with `suspects` suspect rows (the first critical
// under the critical tone).
PopoverSnapshot traySnapshot(SnapshotTone tone, int suspects);

// Writes the tray icon of every tone with 0, 1, 3, 9 and 12 suspects, and at the end the icon
// shown while the monitor is not watching, on two panel strips, a
// dark one (#1e1e1e) above a light one (#f0f0f0), at the 22 pixels a tray gives it, as
// tray-panels-<appearance>.png, and the same strips enlarged four times with square pixels
// (tray-panels-<appearance>-4x.png), for the light and the dark appearance, into `dir`. The
// appearance in effect before the call is restored. Returns false when a file cannot be
// written.
bool renderTrayPanels(const QString& dir);

} // namespace velmora
