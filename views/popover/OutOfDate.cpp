// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/OutOfDate.h"

#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QWidget>

namespace velmora {

void setOutOfDate(QWidget* widget, bool outOfDate) {
    if (outOfDate == isOutOfDate(widget)) {
        return;
    }
    if (outOfDate) {
        auto* dim = new QGraphicsOpacityEffect(widget);
        dim->setOpacity(outOfDateOpacity);
        widget->setGraphicsEffect(dim);
    } else {
        widget->setGraphicsEffect(nullptr);
    }
    //: What a screen reader adds to a part of the popover whose figures are no longer current.
    widget->setAccessibleDescription(
        outOfDate ? QCoreApplication::translate("velmora::OutOfDate", "Out of date") : QString());
}

bool isOutOfDate(const QWidget* widget) {
    return qobject_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect()) != nullptr;
}

} // namespace velmora
