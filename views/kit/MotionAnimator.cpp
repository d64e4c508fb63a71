// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/MotionAnimator.h"

#include "state/MotionCurve.h"

#include <cmath>

namespace velmora {

namespace {

bool& enabledFlag() {
    static bool enabled = true;
    return enabled;
}

int& startedCounter() {
    static int count = 0;
    return count;
}

} // namespace

MotionAnimator::MotionAnimator(const VelmoraMotion& motion, ProgressFn onProgress, QObject* parent)
    : QAbstractAnimation(parent), motion_(motion), onProgress_(std::move(onProgress)),
      durationMs_(static_cast<int>(std::ceil(motionDuration(motion) * 1000.0))) {}

MotionAnimator* MotionAnimator::run(const VelmoraMotion& motion, ProgressFn onProgress,
                                    QObject* parent) {
    auto* animator = new MotionAnimator(motion, std::move(onProgress), parent);
    animator->start();
    return animator;
}

void MotionAnimator::start() {
    ++startedCounter();
    if (!enabledFlag() || durationMs_ <= 0) {
        if (onProgress_) {
            onProgress_(1.0);
        }
        deleteLater();
        return;
    }
    QAbstractAnimation::start(QAbstractAnimation::DeleteWhenStopped);
}

void MotionAnimator::updateCurrentTime(int currentTime) {
    if (!onProgress_) {
        return;
    }
    const double progress =
        currentTime >= durationMs_ ? 1.0 : motionProgress(motion_, currentTime / 1000.0);
    onProgress_(progress);
}

void MotionAnimator::setAnimationsEnabled(bool enabled) {
    enabledFlag() = enabled;
}

bool MotionAnimator::animationsEnabled() {
    return enabledFlag();
}

int MotionAnimator::startedCount() {
    return startedCounter();
}

} // namespace velmora
