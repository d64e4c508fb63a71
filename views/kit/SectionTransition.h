// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"

#include <QGraphicsEffect>
#include <QPointF>
#include <QWidget>
#include <optional>

namespace velmora {

// How a section enters or leaves: its offset (in pixels, or in multiples of its own size),
// the scale it starts from (or ends at) about an anchor, always combined with opacity.
struct TransitionStyle {
    QPointF offset;           // points
    QPointF offsetInSizes;    // multiples of the section's width and height
    double scale = 1.0;       // scale at the hidden end
    QPointF anchor{0.5, 0.5}; // fractions of the section's rect

    static TransitionStyle moveFromTop() { return {{}, {0, -1}, 1.0, {0.5, 0}}; }
    static TransitionStyle moveFromBottom() { return {{}, {0, 1}, 1.0, {0.5, 1}}; }
    static TransitionStyle offsetScale(double dy, double scale) {
        return {{0, dy}, {}, scale, {0.5, 0}};
    }
    static TransitionStyle fadeScale(double scale) { return {{}, {}, scale, {0.5, 0.5}}; }
    // History and detail: in from the trailing edge, out to the leading edge.
    static TransitionStyle trailingInsertion() { return {{}, {1, 0}, 0.97, {1, 0.5}}; }
    static TransitionStyle leadingRemoval() { return {{}, {-1, 0}, 0.985, {0, 0.5}}; }
};

// Paints its widget moved, scaled and faded by a progress from 0 (hidden end) to 1 (at rest).
class TransitionEffect : public QGraphicsEffect {
    Q_OBJECT
public:
    TransitionEffect(TransitionStyle style, QObject* parent = nullptr);
    void setProgress(double progress);

protected:
    void draw(QPainter* painter) override;
    QRectF boundingRectFor(const QRectF& rect) const override;

private:
    TransitionStyle style_;
    double progress_ = 0;
};

// Shows or hides `section`. With a motion (and the section on screen) it enters with
// `insertion` and leaves with `removal`: the leaving content is a grabbed picture that fades
// out over the place it had. Without a motion the change is immediate. Nothing happens when
// the visibility does not change.
void setSectionVisible(QWidget* section, bool visible, const std::optional<VelmoraMotion>& motion,
                       const TransitionStyle& insertion, const TransitionStyle& removal);

// Plays the leaving picture of `section` (taken now) over its place without hiding it, for a
// section whose content is about to be replaced.
void playRemovalGhost(QWidget* section, const VelmoraMotion& motion,
                      const TransitionStyle& removal);
// Plays the entrance of `section` (already visible).
void playInsertion(QWidget* section, const VelmoraMotion& motion, const TransitionStyle& insertion);

} // namespace velmora
