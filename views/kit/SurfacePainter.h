// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;
class QWidget;

namespace velmora {

// Painting helpers shared by the popover surfaces: rounded and capsule shapes with a fill and an
// inner border, diagonal gradients, blurred shadows.

// A rounded rectangle (or a capsule when `radius` is at least half the height).
QPainterPath roundedShape(const QRectF& rect, double radius);
QPainterPath capsuleShape(const QRectF& rect);

// A linear gradient from the top-leading to the bottom-trailing corner of `rect`.
QBrush diagonalGradient(const QRectF& rect, const QColor& from, const QColor& to);
// A linear gradient from the top to the bottom edge of `rect`.
QBrush verticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom);

// Fills `rect` as a rounded shape and strokes a border of `borderWidth` inside its edge.
void paintSurface(QPainter& painter, const QRectF& rect, double radius, const QBrush& fill,
                  const QColor& border, double borderWidth = 1.0);

// `image` blurred with a Gaussian-like kernel (three box passes) of the given radius.
QImage blurredImage(const QImage& image, double radius);

// Paints the soft shadow of `shape` (in painter coordinates) in `color`, blurred by `radius`
// and moved by `offset`. Nothing is painted for a clear colour.
void paintShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, double radius,
                 QPointF offset = {});

// Gives `widget` a drop shadow (a QGraphicsDropShadowEffect), replacing any it had; a clear
// colour or a zero radius removes it.
void setWidgetShadow(QWidget* widget, const QColor& color, double radius, QPointF offset = {});

// A colour between `from` and `to` (t from 0 to 1, components interpolated).
QColor mixColor(const QColor& from, const QColor& to, double t);
double mix(double from, double to, double t);

} // namespace velmora
