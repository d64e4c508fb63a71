#pragma once

#include "model/PopoverSnapshot.h"

#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace velmora {

class MotionAnimator;

// How full the tray drop is: 0.35 per watch row, 1 per suspect, 2 per critical, over 5, capped
// at 1, raised to the floor of the global tone (0.28 watch, 0.68 suspect, 0.96 critical).
double urgencyFill(const PopoverSnapshot& snapshot);
// The rows whose severity is suspect or critical.
int highlightedCount(const PopoverSnapshot& snapshot);
// The badge text: the count up to 9, then "9+".
QString badgeText(int count);

// What the tray label shows; `fill` and `badge` (0 hidden to 1 shown) may be mid-animation.
// While the monitor is not watching the label shows none of the snapshot: a grey pill, a hollow
// grey drop and a "!" badge, whatever the tone and the rows. While it is starting (no answer
// yet, so no data) it is the same grey pill and hollow drop, without a badge.
struct MenuBarLabelLook {
    SnapshotTone tone = SnapshotTone::allClear;
    double fill = 0;
    int count = 0;
    double badge = 0;
    bool notWatching = false;
    bool starting = false;

    bool showsNoSnapshot() const { return notWatching || starting; }
};

MenuBarLabelLook menuBarLabelLook(const PopoverSnapshot& snapshot, bool watching = true);
MenuBarLabelLook startingMenuBarLabelLook();
// The label's size in points: the 48 x 26 pill with 11 x 4 points of padding.
QSize menuBarLabelSize();
void paintMenuBarLabel(QPainter& painter, const MenuBarLabelLook& look);
// The label as a picture for the tray icon, at the given device pixel ratio.
QImage renderMenuBarLabel(const PopoverSnapshot& snapshot, qreal dpr);
QImage renderMenuBarLabel(const MenuBarLabelLook& look, qreal dpr);
// WCAG 2 relative luminance of a colour (alpha ignored), and the contrast ratio of two colours
// (1 to 21).
double relativeLuminance(const QColor& color);
double contrastRatio(const QColor& first, const QColor& second);

// The tray icon. Tray hosts give about 22 pixels on a panel of a colour nobody tells us (GNOME's
// top bar is dark even in light mode), so the tray's glyph is the pill made square and
// self-contained: an opaque pill in the appearance's surface colour washed with the tone and
// ringed in the tone tint (a light ring round a dark pill, a dark ring round a light one, so
// either the ring or the pill stands off any panel); inside it the drop with a firm outline;
// in the top-right corner the count badge, in the tone's colour at a middle lightness that
// reads on dark and light panels alike (and under white digits), set off from the drop by a
// knockout ring in the pill's colour. The drop moves down and left beside a badge. Nothing
// reaches the picture's edge.
struct TrayGlyphLayout {
    QRectF pill;
    QRectF drop;      // the drop's square
    QRectF badge;     // the badge with its knockout ring; empty when there is no badge
    QRectF badgeFace; // the coloured capsule inside the knockout ring
};

// 22 x 22 points: one point per pixel at the size trays draw.
QSize trayGlyphSize();
TrayGlyphLayout trayGlyphLayout(const MenuBarLabelLook& look);
// The badge colour: the tone tint (the muted text colour when all is clear) between its light
// and dark variants, at the lightness that keeps 3:1 against dark and light panels.
QColor trayBadgeColor(SnapshotTone tone);
// The colour of the "!" badge while the monitor is not watching, at the same middle lightness.
QColor trayNotWatchingBadgeColor();
void paintTrayGlyph(QPainter& painter, const MenuBarLabelLook& look);
QImage renderTrayGlyph(const MenuBarLabelLook& look, qreal dpr);
QImage renderTrayGlyph(const PopoverSnapshot& snapshot, qreal dpr);
// The glyph at 22 and 44 pixels (device pixel ratios 1 and 2), for the tray host to pick from.
QIcon trayGlyphIcon(const MenuBarLabelLook& look);

// The tray label as a widget: fill changes animate with `menuBarFill`; the badge fades and
// scales in and out. frameChanged() tells the tray to take a new picture (image(),
// trayIcon()); it is also emitted when the appearance flips, since the colours change.
class MenuBarLabel : public QWidget {
    Q_OBJECT
public:
    explicit MenuBarLabel(QWidget* parent = nullptr);

    void setSnapshot(const PopoverSnapshot& snapshot) { setState(snapshot, true); }
    // The snapshot, and whether the monitor is watching. Switching between watching and not
    // watching changes the picture at once.
    void setState(const PopoverSnapshot& snapshot, bool watching);
    // A look of its own (the starting one); a change of fill or badge animates as above.
    void setLook(const MenuBarLabelLook& next);
    const MenuBarLabelLook& look() const { return shown_; }
    QImage image(qreal dpr) const { return renderMenuBarLabel(shown_, dpr); }
    QImage trayImage(qreal dpr) const { return renderTrayGlyph(shown_, dpr); }
    QIcon trayIcon() const { return trayGlyphIcon(shown_); }

    QSize sizeHint() const override { return menuBarLabelSize(); }

signals:
    void frameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MenuBarLabelLook target_;
    MenuBarLabelLook shown_;
    bool hasSnapshot_ = false;
    QPointer<MotionAnimator> fillAnimator_;
    QPointer<MotionAnimator> badgeAnimator_;
};

} // namespace velmora
