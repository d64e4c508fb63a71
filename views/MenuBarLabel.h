#pragma once

#include "model/PopoverSnapshot.h"

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
struct MenuBarLabelLook {
    SnapshotTone tone = SnapshotTone::allClear;
    double fill = 0;
    int count = 0;
    double badge = 0;
};

MenuBarLabelLook menuBarLabelLook(const PopoverSnapshot& snapshot);
// The label's size in points: the 48 x 26 pill with 11 x 4 points of padding.
QSize menuBarLabelSize();
void paintMenuBarLabel(QPainter& painter, const MenuBarLabelLook& look);
// The label as a picture for the tray icon, at the given device pixel ratio.
QImage renderMenuBarLabel(const PopoverSnapshot& snapshot, qreal dpr);
QImage renderMenuBarLabel(const MenuBarLabelLook& look, qreal dpr);
// Tray hosts show square icons of about 22 pixels, where the wide label would shrink to a
// sliver: the tray's glyph is the same pill made square (26 x 26 points, with the drop and the
// badge at their label sizes) on a 30-point square that always keeps the same scale.
QSize trayGlyphSize();
QImage renderTrayGlyph(const PopoverSnapshot& snapshot, qreal dpr);

// The tray label as a widget: fill changes animate with `menuBarFill`; the badge fades and
// scales in and out. frameChanged() tells the tray to take a new picture (image()).
class MenuBarLabel : public QWidget {
    Q_OBJECT
public:
    explicit MenuBarLabel(QWidget* parent = nullptr);

    void setSnapshot(const PopoverSnapshot& snapshot);
    const MenuBarLabelLook& look() const { return shown_; }
    QImage image(qreal dpr) const { return renderMenuBarLabel(shown_, dpr); }

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
