// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewTestSupport.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace velmora::testing {

QImage renderToImage(QWidget& widget, qreal dpr) {
    QImage image(QSizeF(QSizeF(widget.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren); // no window background
    return image;
}

QColor pixelAt(const QImage& image, QPointF logical) {
    const QPointF physical = logical * image.devicePixelRatio();
    return image.pixelColor(physical.toPoint());
}

bool colorsClose(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor composite(const QColor& over, const QColor& under) {
    const double a = over.alphaF();
    return QColor::fromRgbF(static_cast<float>(over.redF() * a + under.redF() * (1 - a)),
                            static_cast<float>(over.greenF() * a + under.greenF() * (1 - a)),
                            static_cast<float>(over.blueF() * a + under.blueF() * (1 - a)));
}

PaintCounter::PaintCounter(QWidget* root) : QObject(root) {
    root->installEventFilter(this);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        if (qEnvironmentVariableIsSet("VELMORA_TRACE_PAINTS")) {
            qInfo("paint %s %s", watched->metaObject()->className(),
                  qPrintable(watched->objectName()));
        }
        ++count_;
    }
    return QObject::eventFilter(watched, event);
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

int widgetCount(const QWidget* root) {
    return static_cast<int>(root->findChildren<QWidget*>().size());
}

std::vector<QWidget*> visibleChildrenByY(const QWidget* parent) {
    std::vector<QWidget*> children;
    for (QWidget* child : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(parent)) {
            children.push_back(child);
        }
    }
    std::sort(children.begin(), children.end(),
              [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    return children;
}

} // namespace velmora::testing
