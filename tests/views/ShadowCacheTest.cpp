// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ShadowCache.h"

#include "views/kit/SurfacePainter.h"

#include <QPainter>
#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora {
namespace {

QImage picture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    return image;
}

ShadowCache::Key keyFor(double x) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(x, 0, 40, 20), 6, 6);
    return {shape, qRgba(0, 0, 0, 40), 8, 1};
}

TEST(ShadowCacheTest, StaysWithinItsBudgetDroppingTheLeastRecentlyUsed) {
    ShadowCache cache(3 * 100 * 100 * 4);
    for (int i = 0; i < 50; ++i) {
        cache.insert(keyFor(i), picture(100, 100));
        EXPECT_LE(cache.bytes(), 3u * 100 * 100 * 4);
    }
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_TRUE(cache.find(keyFor(0)).isNull());
    EXPECT_FALSE(cache.find(keyFor(47)).isNull());
    // 47 was used last: a new picture pushes out 48, the least recently used.
    cache.insert(keyFor(50), picture(100, 100));
    EXPECT_FALSE(cache.find(keyFor(47)).isNull());
    EXPECT_TRUE(cache.find(keyFor(48)).isNull());
}

TEST(ShadowCacheTest, KeepsAPictureLargerThanTheBudgetAloneAndReplacesARepeatedKey) {
    ShadowCache cache(100);
    cache.insert(keyFor(1), picture(10, 10));
    cache.insert(keyFor(2), picture(10, 10));
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_FALSE(cache.find(keyFor(2)).isNull());
    cache.insert(keyFor(2), picture(20, 20));
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.bytes(), 20u * 20 * 4);
    EXPECT_EQ(cache.find(keyFor(2)).width(), 20);
}

QImage paintedShadow(QPointF at, const QColor& color, double radius = 12) {
    QImage canvas(240, 200, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(at, QSizeF(60, 40)), 10, 10);
    paintShadow(painter, shape, color, radius, QPointF(0, 4));
    return canvas;
}

// The largest difference of any channel between the shadow and the shape filled in `color`
// with every channel blurred; `shaded` counts the pixels the shadow covers.
int worstDifference(const QImage& shadow, QPointF at, const QColor& color, double radius,
                    int* shaded = nullptr) {
    QImage filled(shadow.size(), QImage::Format_ARGB32_Premultiplied);
    filled.fill(Qt::transparent);
    {
        QPainter painter(&filled);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(at + QPointF(0, 4), QSizeF(60, 40)), 10, 10);
        painter.fillPath(shape, color);
    }
    const QImage reference = blurredImage(filled, radius);
    int worst = 0;
    for (int y = 0; y < shadow.height(); ++y) {
        for (int x = 0; x < shadow.width(); ++x) {
            const QRgb a = shadow.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            worst = std::max({worst, std::abs(qAlpha(a) - qAlpha(b)), std::abs(qRed(a) - qRed(b)),
                              std::abs(qBlue(a) - qBlue(b))});
            if (shaded != nullptr) {
                *shaded += qAlpha(a) > 0 ? 1 : 0;
            }
        }
    }
    return worst;
}

TEST(PaintShadowTest, MatchesTheFourChannelBlurOfTheFilledShapeAndRepaintsFromTheCache) {
    const QColor color = QColor::fromRgbF(0.1f, 0.2f, 0.6f, 0.5f);
    const QImage shadow = paintedShadow(QPointF(40, 30), color);

    // The same shadow the long way: the shape filled in its colour, every channel blurred.
    int shaded = 0;
    EXPECT_LE(worstDifference(shadow, QPointF(40, 30), color, 12, &shaded), 3);
    EXPECT_GT(shaded, 60 * 40);

    // Painted again, at a whole-pixel offset, it is the same picture moved.
    const std::size_t cached = ShadowCache::shared().size();
    const QImage again = paintedShadow(QPointF(40, 30), color);
    EXPECT_EQ(again, shadow);
    EXPECT_EQ(ShadowCache::shared().size(), cached);
    EXPECT_LE(ShadowCache::shared().bytes(), ShadowCache::defaultBudgetBytes);
}

TEST(PaintShadowTest, AWideShadowComputedAtAFractionOfTheResolutionLooksTheSame) {
    const QColor color = QColor::fromRgbF(0, 0, 0, 0.16f);
    const QImage shadow = paintedShadow(QPointF(80, 60), color, 28);
    // Scaling up shifts the soft edge by a fraction of a pixel: a few levels out of 255.
    EXPECT_LE(worstDifference(shadow, QPointF(80, 60), color, 28), 6);
    EXPECT_GT(qAlpha(shadow.pixel(110, 84)), 20); // under the card the shadow is dark
}

} // namespace
} // namespace velmora
