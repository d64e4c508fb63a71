// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/OutOfDate.h"

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
    widget->setAccessibleDescription(outOfDate ? QStringLiteral("Out of date") : QString());
}

bool isOutOfDate(const QWidget* widget) {
    return qobject_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect()) != nullptr;
}

} // namespace velmora
