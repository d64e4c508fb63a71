// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/TrayGlyphIconEngine.h"

#include "views/tray/TrayGlyph.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TrayIconLook suspectLook(int count) {
    TrayIconLook look;
    look.tone = SnapshotTone::suspect;
    look.fill = 1;
    look.count = count;
    look.badge = 1;
    return look;
}

// The largest difference of any channel between two pictures of the same size.
int worstDifference(const QImage& first, const QImage& second) {
    const QImage a = first.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                              std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

TEST(TrayGlyphIconEngineTest, PaintsTheTrayGlyphAtTheSizesTraysAskFor) {
    const auto look = suspectLook(3);
    const QIcon icon(new TrayGlyphIconEngine(look));
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(22, 22), QSize(44, 44)}));

    // At its own sizes the icon is the tray glyph's picture.
    const QImage one = icon.pixmap(QSize(22, 22), 1.0).toImage();
    ASSERT_EQ(one.size(), QSize(22, 22));
    EXPECT_LE(worstDifference(one, renderTrayGlyph(look, 1.0)), 2);
    const QImage two = icon.pixmap(QSize(22, 22), 2.0).toImage();
    ASSERT_EQ(two.size(), QSize(44, 44));
    EXPECT_DOUBLE_EQ(two.devicePixelRatio(), 2.0);
    EXPECT_LE(worstDifference(two, renderTrayGlyph(look, 2.0)), 2);

    // Painted by a host into a larger square, the glyph fills it: opaque in the middle, and the
    // picture at 24 pixels differs from the one at 22.
    QImage host(24, 24, QImage::Format_ARGB32_Premultiplied);
    host.fill(Qt::transparent);
    {
        QPainter painter(&host);
        icon.paint(&painter, host.rect());
    }
    EXPECT_EQ(qAlpha(host.pixel(12, 12)), 255);
    EXPECT_GT(qAlpha(host.pixel(2, 12)), 0);
}

TEST(TrayGlyphIconEngineTest, ACopyShowsTheSameLookAndADifferentLookPaintsDifferently) {
    const QIcon three(new TrayGlyphIconEngine(suspectLook(3)));
    const QIcon copy = three; // QIcon detaches through clone()
    EXPECT_EQ(copy.pixmap(QSize(22, 22)).toImage(), three.pixmap(QSize(22, 22)).toImage());
    const QIcon seven(new TrayGlyphIconEngine(suspectLook(7)));
    EXPECT_NE(seven.pixmap(QSize(22, 22)).toImage(), three.pixmap(QSize(22, 22)).toImage());
}

} // namespace
} // namespace velmora
