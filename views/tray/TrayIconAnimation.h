// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/TrayIconLook.h"
#include "state/VelmoraMotion.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace velmora {

class MotionAnimator;

// The tray icon's look over time: a change of fill animates with `menuBarFill`, the badge fades
// and scales in and out with `overlay`; the first look and every switch to or from a look
// without a snapshot (not watching, starting) are shown at once. frameChanged() tells the tray
// to take a new picture of look(); it is also emitted when the appearance flips, since the
// colours change.
class TrayIconAnimation : public QObject {
    Q_OBJECT
public:
    explicit TrayIconAnimation(QObject* parent = nullptr);

    void setLook(const TrayIconLook& next);
    const TrayIconLook& look() const { return shown_; }

signals:
    void frameChanged();

private:
    // Runs the named motion in `animator`'s place, a new frame at every step.
    void animate(QPointer<MotionAnimator>& animator, MotionName name,
                 std::function<void(double progress)> step);

    TrayIconLook target_;
    TrayIconLook shown_;
    bool hasLook_ = false;
    QPointer<MotionAnimator> fillAnimator_;
    QPointer<MotionAnimator> badgeAnimator_;
};

} // namespace velmora
