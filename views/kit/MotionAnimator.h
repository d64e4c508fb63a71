// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"

#include <QAbstractAnimation>
#include <functional>

namespace velmora {

// Runs one named motion: calls `onProgress` with the motion's progress (0 to 1, a spring may
// overshoot) on every frame, for the motion's settling time or duration, and with exactly 1 at
// the end. When animations are switched off (tests, the screenshot gallery) start() reports 1
// at once.
class MotionAnimator : public QAbstractAnimation {
    Q_OBJECT
public:
    using ProgressFn = std::function<void(double progress)>;

    MotionAnimator(const VelmoraMotion& motion, ProgressFn onProgress, QObject* parent = nullptr);

    // Starts the motion; the animator deletes itself when it ends (or is stopped).
    static MotionAnimator* run(const VelmoraMotion& motion, ProgressFn onProgress, QObject* parent);

    int duration() const override { return durationMs_; }
    const VelmoraMotion& motion() const { return motion_; }

    void start();

    static void setAnimationsEnabled(bool enabled);
    static bool animationsEnabled();
    // How many motions have been started since the process began (tests check that an
    // unchanged refresh starts none).
    static int startedCount();

protected:
    void updateCurrentTime(int currentTime) override;

private:
    VelmoraMotion motion_;
    ProgressFn onProgress_;
    int durationMs_;
};

} // namespace velmora
