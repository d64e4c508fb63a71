// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <optional>

namespace velmora {

// The type scale of the popover surfaces.
enum class TypeRole { eyebrow, tonePill, summary, title, rate, body, caption, metric };

// The font of a role, at the role's pixel size on the type scale; `weight` overrides the role's
// weight. Rounded roles use a rounded family when one is installed, else the UI font;
// monospaced roles use the system fixed font.
QFont velmoraFont(TypeRole role, std::optional<QFont::Weight> weight = {});

// The rounded (or plain UI) family at any pixel size and weight, for the few texts outside the
// type scale (the tray badge, glyph sizes).
QFont velmoraRoundedFont(int pixelSize, QFont::Weight weight);

// The family the rounded design resolves to on this machine.
QString velmoraRoundedFamily();

} // namespace velmora
