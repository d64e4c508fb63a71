// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/SurfacePainter.h"

#include "views/kit/ShadowCache.h"

#include <QGraphicsDropShadowEffect>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

QPainterPath roundedShape(const QRectF& rect, double radius) {
    const double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    QPainterPath path;
    path.addRoundedRect(rect, r, r);
    return path;
}

QPainterPath capsuleShape(const QRectF& rect) {
    return roundedShape(rect, std::min(rect.width(), rect.height()) / 2);
}

QBrush diagonalGradient(const QRectF& rect, const QColor& from, const QColor& to) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return QBrush(gradient);
}

QBrush verticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return QBrush(gradient);
}

void paintSurface(QPainter& painter, const QRectF& rect, double radius, const QBrush& fill,
                  const QColor& border, double borderWidth) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedShape(rect, radius), fill);
    if (borderWidth > 0 && border.alpha() > 0) {
        const double half = borderWidth / 2;
        painter.setPen(QPen(border, borderWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedShape(rect.adjusted(half, half, -half, -half), radius - half));
    }
    painter.restore();
}

namespace {

// One horizontal and one vertical box pass of half-width `r` over premultiplied ARGB.
void boxBlurPass(std::vector<float>& channel, int width, int height, int r) {
    std::vector<float> line(static_cast<std::size_t>(std::max(width, height)));
    const auto run = [&](int count, int stride, float* base) {
        double sum = 0;
        const int window = 2 * r + 1;
        for (int i = -r; i <= r; ++i) {
            sum += (i >= 0 && i < count) ? base[i * stride] : 0.0f;
        }
        for (int i = 0; i < count; ++i) {
            line[static_cast<std::size_t>(i)] = static_cast<float>(sum / window);
            const int out = i - r;
            const int in = i + r + 1;
            sum -= (out >= 0) ? base[out * stride] : 0.0f;
            sum += (in < count) ? base[in * stride] : 0.0f;
        }
        for (int i = 0; i < count; ++i) {
            base[i * stride] = line[static_cast<std::size_t>(i)];
        }
    };
    for (int y = 0; y < height; ++y) {
        run(width, 1, channel.data() + static_cast<std::size_t>(y) * width);
    }
    for (int x = 0; x < width; ++x) {
        run(height, width, channel.data() + x);
    }
}

} // namespace

QImage blurredImage(const QImage& source, double radius) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int r = static_cast<int>(std::round(radius / 2.0));
    if (r <= 0) {
        return image;
    }
    const int width = image.width();
    const int height = image.height();
    std::vector<float> channels[4];
    for (auto& channel : channels) {
        channel.resize(static_cast<std::size_t>(width) * height);
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            channels[0][i] = static_cast<float>(qAlpha(row[x]));
            channels[1][i] = static_cast<float>(qRed(row[x]));
            channels[2][i] = static_cast<float>(qGreen(row[x]));
            channels[3][i] = static_cast<float>(qBlue(row[x]));
        }
    }
    for (auto& channel : channels) {
        for (int pass = 0; pass < 3; ++pass) {
            boxBlurPass(channel, width, height, r);
        }
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            const auto clampByte = [](float v) {
                return std::clamp(static_cast<int>(v + 0.5f), 0, 255);
            };
            const int a = clampByte(channels[0][i]);
            row[x] = qRgba(std::min(a, clampByte(channels[1][i])),
                           std::min(a, clampByte(channels[2][i])),
                           std::min(a, clampByte(channels[3][i])), a);
        }
    }
    return image;
}

namespace {

// The shadow picture of `shape` (already in the picture's pixel coordinates): the shape's
// coverage is blurred once, then tinted with the premultiplied colour. A shadow is one colour,
// so this is the blur of the filled shape with a single channel instead of four.
QImage renderShadow(const QPainterPath& shape, QSize size, const QColor& color, double radius) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter shapePainter(&image);
        shapePainter.setRenderHint(QPainter::Antialiasing);
        shapePainter.fillPath(shape, Qt::white);
    }
    const int width = image.width();
    const int height = image.height();
    std::vector<float> coverage(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            coverage[static_cast<std::size_t>(y) * width + x] = static_cast<float>(qAlpha(row[x]));
        }
    }
    if (const int r = static_cast<int>(std::round(radius / 2.0)); r > 0) {
        for (int pass = 0; pass < 3; ++pass) {
            boxBlurPass(coverage, width, height, r);
        }
    }
    const QRgb tint = qPremultiply(color.rgba());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float share =
                std::clamp(coverage[static_cast<std::size_t>(y) * width + x], 0.0f, 255.0f) /
                255.0f;
            const auto scaled = [share](int channel) {
                return static_cast<int>(static_cast<float>(channel) * share + 0.5f);
            };
            row[x] = qRgba(scaled(qRed(tint)), scaled(qGreen(tint)), scaled(qBlue(tint)),
                           scaled(qAlpha(tint)));
        }
    }
    return image;
}

} // namespace

void paintShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, double radius,
                 QPointF offset) {
    if (color.alpha() == 0 || shape.isEmpty()) {
        return;
    }
    const double dpr =
        std::max(1.0, painter.device() ? painter.device()->devicePixelRatioF() : 1.0);
    const double margin = std::ceil(radius * 1.5) + 1;
    const QRectF area = shape.boundingRect().adjusted(-margin, -margin, margin, margin);
    // The shape as the picture sees it: at the picture's origin, in device pixels.
    QTransform toPicture;
    toPicture.scale(dpr, dpr);
    toPicture.translate(-area.left(), -area.top());
    ShadowCache::Key key{toPicture.map(shape), color.rgba(), radius, dpr};
    auto& cache = ShadowCache::shared();
    QImage picture = cache.find(key);
    if (picture.isNull()) {
        // A wide blur has no detail to lose: it is computed at a fraction of the resolution
        // and smoothly scaled up when drawn, which keeps the card's shadow small.
        const double reduction = std::clamp(std::floor(radius * dpr / 8.0), 1.0, 4.0);
        QTransform reduce;
        reduce.scale(1 / reduction, 1 / reduction);
        const QSizeF pixels = area.size() * dpr / reduction;
        picture = renderShadow(reduce.map(key.shape),
                               QSize(static_cast<int>(std::ceil(pixels.width())),
                                     static_cast<int>(std::ceil(pixels.height()))),
                               color, radius * dpr / reduction);
        picture.setDevicePixelRatio(dpr / reduction);
        cache.insert(std::move(key), picture);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(area.topLeft() + offset, picture.deviceIndependentSize()), picture,
                      QRectF(picture.rect()));
    painter.restore();
}

void setWidgetShadow(QWidget* widget, const QColor& color, double radius, QPointF offset) {
    if (color.alpha() == 0 || radius <= 0) {
        if (widget->graphicsEffect() != nullptr) {
            widget->setGraphicsEffect(nullptr);
        }
        return;
    }
    auto* effect = qobject_cast<QGraphicsDropShadowEffect*>(widget->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsDropShadowEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    // The effect's blur radius spreads about twice as far as a shadow radius of the same value.
    if (effect->color() != color) {
        effect->setColor(color);
    }
    if (effect->blurRadius() != radius * 2) {
        effect->setBlurRadius(radius * 2);
    }
    if (effect->offset() != offset) {
        effect->setOffset(offset);
    }
}

QColor mixColor(const QColor& from, const QColor& to, double t) {
    return QColor::fromRgbF(
        static_cast<float>(mix(from.redF(), to.redF(), t)),
        static_cast<float>(mix(from.greenF(), to.greenF(), t)),
        static_cast<float>(mix(from.blueF(), to.blueF(), t)),
        static_cast<float>(std::clamp(mix(from.alphaF(), to.alphaF(), t), 0.0, 1.0)));
}

double mix(double from, double to, double t) {
    return from + (to - from) * t;
}

} // namespace velmora
