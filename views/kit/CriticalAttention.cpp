// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/CriticalAttention.h"

#include "views/kit/MotionAnimator.h"

namespace velmora {

CriticalAttention::CriticalAttention(std::function<void()> onChange, QObject* parent)
    : QObject(parent), onChange_(std::move(onChange)) {}

void CriticalAttention::reset() {
    if (animator_) {
        animator_->stop();
    }
    on_ = false;
    setLevel(0);
}

void CriticalAttention::brighten(const VelmoraMotion& motion) {
    if (animator_) {
        animator_->stop();
    }
    on_ = true;
    const double from = level_;
    animator_ = MotionAnimator::run(
        motion, [this, from](double progress) { setLevel(from + (1.0 - from) * progress); }, this);
}

void CriticalAttention::setLevel(double level) {
    if (level == level_) {
        return;
    }
    level_ = level;
    if (onChange_) {
        onChange_();
    }
}

} // namespace velmora
