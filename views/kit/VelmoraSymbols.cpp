// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/VelmoraSymbols.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace velmora {

namespace {

// Glyphs are designed on a 24 x 24 grid; `aspect` is width / height of the glyph's own box.
struct Glyph {
    double aspect;
    std::function<QPainterPath()> build;
};

constexpr double stroke = 2.0;

QPainterPath stroked(const QPainterPath& path, double width = stroke,
                     Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it) {
        path.lineTo(*it);
    }
    return path;
}

QPainterPath arc(QPointF centre, double radius, double startDeg, double sweepDeg) {
    QPainterPath path;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    path.arcMoveTo(box, startDeg);
    path.arcTo(box, startDeg, sweepDeg);
    return path;
}

QPainterPath circle(QPointF centre, double radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// The drop: a point at the top, a round belly below; 16 x 22 inside the 24 grid's height.
QPainterPath dropShape(double inset) {
    const double top = 1.5 + inset;
    const double cx = 8;
    const double r = 7.5 - inset;
    const double cy = 14.5;
    QPainterPath path;
    path.moveTo(cx, top);
    path.cubicTo(cx + 2.2, top + 4.2, cx + r, cy - 4.5, cx + r, cy);
    path.arcTo(QRectF(cx - r, cy - r, 2 * r, 2 * r), 0, -180);
    path.cubicTo(cx - r, cy - 4.5, cx - 2.2, top + 4.2, cx, top);
    path.closeSubpath();
    return path;
}

QPainterPath arrowHead(QPointF tip, double angleDeg, double size) {
    const double a = angleDeg * std::numbers::pi / 180.0;
    const QPointF dir(std::cos(a), std::sin(a));
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip - dir * size + normal * size * 0.6);
    path.lineTo(tip - dir * size - normal * size * 0.6);
    path.closeSubpath();
    return path;
}

QPainterPath gear() {
    QPainterPath body;
    const QPointF c(12, 12);
    const int teeth = 8;
    QPolygonF outline;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = (i * 360.0 / (teeth * 4) - 5.6) * std::numbers::pi / 180.0;
        const double radius = (i % 4 == 0 || i % 4 == 1) ? 10.5 : 8.2;
        outline << c + QPointF(std::cos(angle), std::sin(angle)) * radius;
    }
    body.addPolygon(outline);
    body.closeSubpath();
    return body.subtracted(circle(c, 3.4)).simplified();
}

QPainterPath arrowCircle(bool up) {
    QPainterPath disc = circle({12, 12}, 10.5);
    const QPointF from = up ? QPointF(8, 16) : QPointF(8, 8);
    const QPointF to = up ? QPointF(15.5, 8.5) : QPointF(15.5, 15.5);
    QPainterPath arrow = stroked(polyline({from, to}), 2.4);
    QPainterPath head = up ? stroked(polyline({{10, 8.5}, {15.5, 8.5}, {15.5, 14}}), 2.4)
                           : stroked(polyline({{10, 15.5}, {15.5, 15.5}, {15.5, 10}}), 2.4);
    return disc.subtracted(arrow.united(head)).simplified();
}

const std::map<std::string_view, Glyph>& glyphs() {
    static const std::map<std::string_view, Glyph> table{
        {"velmora-drop-filled", {16.0 / 24.0, [] { return dropShape(0); }}},
        {"velmora-drop",
         {16.0 / 24.0, [] { return dropShape(0).subtracted(dropShape(1.9)).simplified(); }}},
        {"go-previous",
         {0.6,
          [] {
              return stroked(polyline({{10.5, 3.5}, {3.5, 12}, {10.5, 20.5}}), 2.8);
          }}},
        {"go-next",
         {0.6,
          [] {
              return stroked(polyline({{3.5, 3.5}, {10.5, 12}, {3.5, 20.5}}), 2.8);
          }}},
        {"go-down",
         {1.0,
          [] {
              return stroked(polyline({{3.5, 8.5}, {12, 15.5}, {20.5, 8.5}}), 2.8);
          }}},
        {"velmora-list-indented",
         {1.0,
          [] {
              QPainterPath path;
              path.addPath(circle({3.5, 5.5}, 1.8));
              path.addPath(stroked(polyline({{8, 5.5}, {21, 5.5}})));
              path.addPath(circle({8.5, 12}, 1.8));
              path.addPath(stroked(polyline({{13, 12}, {21, 12}})));
              path.addPath(circle({8.5, 18.5}, 1.8));
              path.addPath(stroked(polyline({{13, 18.5}, {21, 18.5}})));
              return path;
          }}},
        {"velmora-document-search",
         {1.0,
          [] {
              QPainterPath doc =
                  stroked(polyline({{13, 21}, {4, 21}, {4, 3}, {13, 3}, {18, 8}, {18, 11}}), 1.8);
              doc.addPath(stroked(polyline({{7.5, 8.5}, {12, 8.5}}), 1.6));
              doc.addPath(stroked(polyline({{7.5, 12.5}, {11, 12.5}}), 1.6));
              doc.addPath(stroked(circle({16, 16}, 3.6), 1.8));
              doc.addPath(stroked(polyline({{18.7, 18.7}, {21.5, 21.5}}), 2.2));
              return doc;
          }}},
        {"document-open-recent",
         {1.0,
          [] {
              QPainterPath path = stroked(arc({12.5, 12}, 8.5, 200, -310));
              path.addPath(arrowHead({4.2, 12.8}, 100, 3.4));
              path.addPath(stroked(polyline({{12.5, 7.5}, {12.5, 12}, {15.5, 14}}), 1.8));
              return path;
          }}},
        {"velmora-live",
         {1.25,
          [] {
              QPainterPath path = circle({15, 12}, 2.6);
              path.addPath(stroked(arc({15, 12}, 6.5, 135, 90)));
              path.addPath(stroked(arc({15, 12}, 6.5, -45, 90)));
              path.addPath(stroked(arc({15, 12}, 11, 140, 80)));
              path.addPath(stroked(arc({15, 12}, 11, -40, 80)));
              return path;
          }}},
        {"document-send",
         {0.85,
          [] {
              QPainterPath path = stroked(
                  polyline({{7, 9.5}, {3.5, 9.5}, {3.5, 22}, {16.5, 22}, {16.5, 9.5}, {13, 9.5}}));
              path.addPath(stroked(polyline({{10, 15}, {10, 2.5}})));
              path.addPath(stroked(polyline({{6, 6}, {10, 2}, {14, 6}})));
              return path;
          }}},
        {"preferences-system", {1.0, [] { return gear(); }}},
        {"application-exit",
         {1.0,
          [] {
              QPainterPath path = stroked(arc({12, 13}, 8.5, 60, -300), 2.4);
              path.addPath(stroked(polyline({{12, 2.5}, {12, 11.5}}), 2.4));
              return path;
          }}},
        {"utilities-system-monitor",
         {1.2,
          [] {
              QPainterPath path = stroked(arc({14.4, 15}, 11, 180, -180), 2.2);
              path.addPath(stroked(polyline({{14.4, 15}, {19.5, 9}}), 2.2));
              path.addPath(circle({14.4, 15}, 2.2));
              return path;
          }}},
        {"view-refresh",
         {1.0,
          [] {
              QPainterPath path = stroked(arc({12, 12}, 8, 160, -120));
              path.addPath(arrowHead({19.6, 9.8}, 80, 3.6));
              path.addPath(stroked(arc({12, 12}, 8, -20, -120)));
              path.addPath(arrowHead({4.4, 14.2}, 260, 3.6));
              return path;
          }}},
        {"velmora-growth-accelerating", {1.0, [] { return arrowCircle(true); }}},
        {"velmora-growth-slowing", {1.0, [] { return arrowCircle(false); }}},
    };
    return table;
}

} // namespace

bool hasSymbol(std::string_view name) {
    return glyphs().count(name) != 0;
}

QPainterPath symbolPath(std::string_view name, const QRectF& box) {
    const auto it = glyphs().find(name);
    if (it == glyphs().end() || box.isEmpty()) {
        return {};
    }
    static std::map<std::string_view, QPainterPath> cache;
    auto cached = cache.find(name);
    if (cached == cache.end()) {
        cached = cache.emplace(it->first, it->second.build()).first;
    }
    const double aspect = it->second.aspect;
    const double gridWidth = 24.0 * aspect;
    // The glyph keeps its proportions: as large as fits in the box, centred.
    const double scale = std::min(box.width() / gridWidth, box.height() / 24.0);
    const double x = box.x() + (box.width() - gridWidth * scale) / 2;
    const double y = box.y() + (box.height() - 24.0 * scale) / 2;
    QTransform transform;
    transform.translate(x, y);
    transform.scale(scale, scale);
    return transform.map(cached->second);
}

void paintSymbol(QPainter& painter, std::string_view name, const QRectF& box, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(symbolPath(name, box));
    painter.restore();
}

SymbolView::SymbolView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    repaintOnAppearanceChange(this);
}

SymbolView::SymbolView(std::string name, double pixelSize, ColorRef color, QWidget* parent)
    : SymbolView(parent) {
    name_ = std::move(name);
    pixelSize_ = pixelSize;
    color_ = color;
}

void SymbolView::setSymbol(const std::string& name) {
    if (name == name_) {
        return;
    }
    name_ = name;
    update();
}

void SymbolView::setColor(ColorRef color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

void SymbolView::setFrameSize(QSize size) {
    if (size == frame_) {
        return;
    }
    frame_ = size;
    updateGeometry();
    update();
}

QSize SymbolView::sizeHint() const {
    if (frame_.isValid()) {
        return frame_;
    }
    const int side = static_cast<int>(std::ceil(pixelSize_ * 1.1));
    return {side, side};
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double side = pixelSize_ * 1.1;
    const QRectF box((width() - side) / 2, (height() - side) / 2, side, side);
    paintSymbol(painter, name_, box, color_.resolve());
}

} // namespace velmora
