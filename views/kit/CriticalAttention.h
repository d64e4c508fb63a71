// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace velmora {

class MotionAnimator;

// The view-local "critical attention" flag of a view, as a level from 0 (dim) to 1 (bright):
// reset() drops it at once, brighten() raises it inside a motion. The owner repaints from
// level() whenever onChange runs.
class CriticalAttention : public QObject {
    Q_OBJECT
public:
    explicit CriticalAttention(std::function<void()> onChange, QObject* parent = nullptr);

    double level() const { return level_; }
    bool isOn() const { return on_; }

    void reset();
    void brighten(const VelmoraMotion& motion);

private:
    void setLevel(double level);

    std::function<void()> onChange_;
    QPointer<MotionAnimator> animator_;
    double level_ = 0;
    bool on_ = false;
};

} // namespace velmora
