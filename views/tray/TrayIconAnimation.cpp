// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/TrayIconAnimation.h"

#include "views/kit/MotionAnimator.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"

#include <algorithm>

namespace velmora {

TrayIconAnimation::TrayIconAnimation(QObject* parent) : QObject(parent) {
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this, [this] {
        if (hasLook_) {
            emit frameChanged();
        }
    });
}

void TrayIconAnimation::setLook(const TrayIconLook& next) {
    if (hasLook_ && next.tone == target_.tone && next.fill == target_.fill &&
        next.count == target_.count && next.notWatching == target_.notWatching &&
        next.starting == target_.starting) {
        return;
    }
    const TrayIconLook previous = target_;
    target_ = next;
    shown_.tone = next.tone;
    shown_.count = next.count > 0 ? next.count : shown_.count; // the leaving badge keeps its text
    if (!hasLook_ || next.showsNoSnapshot() || previous.showsNoSnapshot()) {
        for (MotionAnimator* animator : {fillAnimator_.data(), badgeAnimator_.data()}) {
            if (animator != nullptr) {
                animator->stop();
            }
        }
        hasLook_ = true;
        shown_ = next;
        emit frameChanged();
        return;
    }
    if (next.fill != previous.fill) {
        const double from = shown_.fill;
        animate(fillAnimator_, MotionName::menuBarFill,
                [this, from](double progress) { shown_.fill = mix(from, target_.fill, progress); });
    }
    if ((next.count > 0) != (previous.count > 0)) {
        const double from = shown_.badge;
        animate(badgeAnimator_, MotionName::overlay, [this, from](double progress) {
            shown_.badge = std::clamp(mix(from, target_.badge, progress), 0.0, 1.0);
            if (progress >= 1.0) {
                shown_.count = target_.count;
            }
        });
    }
    emit frameChanged();
}

void TrayIconAnimation::animate(QPointer<MotionAnimator>& animator, MotionName name,
                                std::function<void(double progress)> step) {
    if (animator) {
        animator->stop();
    }
    animator = MotionAnimator::run(
        motion(name),
        [this, step = std::move(step)](double progress) {
            step(progress);
            emit frameChanged();
        },
        this);
}

} // namespace velmora
