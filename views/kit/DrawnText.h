// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPointF>
#include <QString>
#include <vector>

namespace velmora {

// One line of text as a widget paints it: the characters, the font, the top-left corner of the
// line box in the widget's coordinates and the scale it is drawn at. A widget that paints text
// reports its lines from the same arithmetic its paint event uses, so a layout check can measure
// them against the widget's rect with its own font metrics.
struct DrawnText {
    QString text;        // the characters painted, after case changes and elision
    QFont font;          // the font they are painted in, before `scale`
    QPointF origin;      // top-left corner of the line box
    double scale = 1.0;  // a single line shrunk to fit
    bool elided = false; // the line was cut on purpose and ends in an ellipsis
};

// Implemented by the widgets of the popover that paint text themselves.
class DrawsText {
public:
    virtual ~DrawsText() = default;
    // The lines painted at the widget's current size.
    virtual std::vector<DrawnText> drawnTexts() const = 0;
};

} // namespace velmora
