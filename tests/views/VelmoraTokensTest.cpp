#include "support/ViewTestSupport.h"
#include "views/VelmoraPalette.h"
#include "views/VelmoraSymbols.h"
#include "views/VelmoraType.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <gtest/gtest.h>

namespace velmora {
namespace {

QColor rgb(double r, double g, double b) {
    return QColor::fromRgbF(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
}

TEST(VelmoraPaletteTest, LightAndDarkVariantsAndTints) {
    const auto& light = VelmoraPalette::light();
    const auto& dark = VelmoraPalette::dark();
    EXPECT_TRUE(
        testing::colorsClose(light.color(PaletteColor::shell), rgb(0.961, 0.937, 0.890), 1));
    EXPECT_TRUE(testing::colorsClose(dark.color(PaletteColor::shell), rgb(0.133, 0.145, 0.165), 1));
    EXPECT_TRUE(
        testing::colorsClose(dark.color(PaletteColor::criticalText), rgb(1.0, 0.604, 0.565), 1));
    EXPECT_EQ(light.color(PaletteColor::watchText), light.color(PaletteColor::coolStroke));
    EXPECT_EQ(dark.color(PaletteColor::primaryActionFill),
              light.color(PaletteColor::primaryActionFill));
    EXPECT_EQ(light.color(PaletteColor::accentFillForeground), QColor(Qt::white));
    EXPECT_EQ(light.toneTint(SnapshotTone::suspect), light.color(PaletteColor::suspectText));
    EXPECT_EQ(dark.severityTint(FindingSeverity::allClear), dark.color(PaletteColor::allClearText));
    EXPECT_NEAR(light.color(PaletteColor::inset, 0.24).alphaF(), 0.24, 0.005);
}

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

TEST(VelmoraTypeTest, PixelSizesEqualThePointsOfTheScale) {
    EXPECT_EQ(velmoraFont(TypeRole::eyebrow).pixelSize(), 12);
    EXPECT_EQ(velmoraFont(TypeRole::title).pixelSize(), 15);
    EXPECT_EQ(velmoraFont(TypeRole::title).weight(), QFont::DemiBold);
    EXPECT_EQ(velmoraFont(TypeRole::rate).pixelSize(), 16);
    EXPECT_EQ(velmoraFont(TypeRole::caption, QFont::Bold).weight(), QFont::Bold);
    EXPECT_TRUE(QFontInfo(velmoraFont(TypeRole::metric)).fixedPitch());
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
