// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ViewTestSupport.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraSymbols.h"
#include "views/kit/VelmoraType.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(VelmoraPaletteTest, AppearanceFollowsTheApplicationPaletteUnlessForced) {
    int flips = 0;
    QObject::connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, [&] { ++flips; });
    VelmoraPalette::followApplicationPalette();
    const QPalette original = QApplication::palette();
    QPalette darkPalette = original;
    darkPalette.setColor(QPalette::Window, QColor(30, 30, 34));
    QApplication::setPalette(darkPalette);
    EXPECT_TRUE(VelmoraPalette::current().isDark());
    EXPECT_EQ(flips, 1);
    VelmoraPalette::setDark(false); // the desktop portal says light
    EXPECT_FALSE(VelmoraPalette::current().isDark());
    QApplication::setPalette(original);
    QApplication::setPalette(darkPalette);
    EXPECT_FALSE(VelmoraPalette::current().isDark()); // forced: the palette no longer decides
    QApplication::setPalette(original);
    VelmoraPalette::followApplicationPalette();
    EXPECT_FALSE(VelmoraPalette::current().isDark());
    EXPECT_EQ(flips, 2);
}

TEST(VelmoraPaletteTest, StandardWidgetsFollowTheAppearanceWhenItFlips) {
    QLabel label;
    VelmoraPalette::setDark(false);
    followPaletteColor(&label, QPalette::WindowText, PaletteColor::mutedText);
    const auto text = [&] { return label.palette().color(QPalette::WindowText); };
    EXPECT_EQ(text(), VelmoraPalette::light().color(PaletteColor::mutedText));
    VelmoraPalette::setDark(true);
    EXPECT_EQ(text(), VelmoraPalette::dark().color(PaletteColor::mutedText));
    VelmoraPalette::setDark(false);
    EXPECT_EQ(text(), VelmoraPalette::light().color(PaletteColor::mutedText));
    VelmoraPalette::followApplicationPalette();
}

TEST(VelmoraSymbolsTest, EveryGlyphFitsItsBoxAndUnknownNamesAreEmpty) {
    const QRectF box(10, 20, 14, 14);
    for (const char* name :
         {"velmora-drop", "velmora-drop-filled", "go-previous", "go-next", "velmora-list-indented",
          "velmora-document-search", "document-open-recent", "velmora-live", "document-send",
          "preferences-system", "application-exit", "utilities-system-monitor", "view-refresh",
          "velmora-growth-accelerating", "velmora-growth-slowing"}) {
        ASSERT_TRUE(hasSymbol(name)) << name;
        const QPainterPath path = symbolPath(name, box);
        EXPECT_FALSE(path.isEmpty()) << name;
        EXPECT_TRUE(box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(path.boundingRect())) << name;
    }
    EXPECT_TRUE(symbolPath("no.such.glyph", box).isEmpty());
    // The outline drop is hollow: its centre is not filled, the filled drop's is.
    EXPECT_FALSE(symbolPath("velmora-drop", box).contains(QPointF(17, 29)));
    EXPECT_TRUE(symbolPath("velmora-drop-filled", box).contains(QPointF(17, 29)));
}

} // namespace
} // namespace velmora
