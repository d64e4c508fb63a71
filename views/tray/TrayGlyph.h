// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/TrayIconLook.h"

#include <QImage>
#include <QRectF>

class QPainter;

namespace velmora {

// The tray icon's picture. Tray hosts give about 22 pixels on a panel of a colour nobody tells
// us (GNOME's top bar is dark even in light mode), so the glyph is a square, self-contained
// pill: opaque, in the appearance's surface colour washed with the tone and ringed in the tone
// tint (a light ring round a dark pill, a dark ring round a light one, so either the ring or
// the pill stands off any panel); inside it the drop with a firm outline; in the top-right
// corner the count badge, in the tone's colour at a middle lightness that reads on dark and
// light panels alike (and under white digits), set off from the drop by a knockout ring in the
// pill's colour. The drop moves down and left beside a badge. Nothing reaches the picture's
// edge.
struct TrayGlyphLayout {
    QRectF pill;
    QRectF drop;      // the drop's square
    QRectF badge;     // the badge with its knockout ring; empty when there is no badge
    QRectF badgeFace; // the coloured capsule inside the knockout ring
};

// 22 x 22 pixels at device pixel ratio 1, the size trays draw.
QSize trayGlyphSize();
TrayGlyphLayout trayGlyphLayout(const TrayIconLook& look);
// The badge colour: the tone tint (the muted text colour when all is clear) between its light
// and dark variants, at the lightness that keeps 3:1 against dark and light panels.
QColor trayBadgeColor(SnapshotTone tone);
// The colour of the "!" badge while the monitor is not watching, at the same middle lightness.
QColor trayNotWatchingBadgeColor();
void paintTrayGlyph(QPainter& painter, const TrayIconLook& look);
QImage renderTrayGlyph(const TrayIconLook& look, qreal dpr);
QImage renderTrayGlyph(const PopoverSnapshot& snapshot, qreal dpr);

} // namespace velmora
