// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <QColor>
#include <QObject>
#include <QPalette>
#include <optional>

class QWidget;

namespace velmora {

// The named colours of every popover surface. Each has a light and a dark variant.
enum class PaletteColor {
    shell,
    shellStroke,
    inset,
    insetStroke,
    warmSurface,
    warmStroke,
    coolSurface,
    coolStroke,
    neutralText,
    mutedText,
    footerRule,
    utilitySurface,
    utilityStroke,
    utilityChip,
    utilityChipStroke,
    allClearText,
    watchText,
    suspectText,
    criticalText,
    primaryActionFill,
    accentFillForeground,
};

// The colour that stands for a tone or a severity: allClearText, watchText, suspectText or
// criticalText.
PaletteColor toneColor(SnapshotTone tone);
PaletteColor severityColor(FindingSeverity severity);

// The light or dark palette in effect. The appearance follows the application palette (a window
// colour darker than half lightness means dark) and is re-checked whenever the application
// palette changes, unless the app forces it with setDark (for instance from the desktop portal).
class VelmoraPalette {
public:
    static const VelmoraPalette& current();
    static const VelmoraPalette& light();
    static const VelmoraPalette& dark();

    // Forces the appearance; PaletteNotifier::changed() is emitted when it flips.
    static void setDark(bool dark);
    // Drops a forced appearance and follows the application palette again.
    static void followApplicationPalette();

    bool isDark() const { return dark_; }
    QColor color(PaletteColor name, double opacity = 1.0) const;
    QColor toneTint(SnapshotTone tone, double opacity = 1.0) const;
    QColor severityTint(FindingSeverity severity, double opacity = 1.0) const;

private:
    explicit VelmoraPalette(bool dark) : dark_(dark) {}
    bool dark_;
};

// A colour named by the palette (resolved at paint time, so it follows the appearance), or a
// fixed colour such as white.
struct ColorRef {
    PaletteColor name = PaletteColor::neutralText;
    double opacity = 1.0;
    std::optional<QColor> fixed;

    static ColorRef fixedColor(QColor color) {
        return ColorRef{PaletteColor::neutralText, 1.0, color};
    }
    QColor resolve() const;
    bool operator==(const ColorRef& other) const {
        return name == other.name && opacity == other.opacity && fixed == other.fixed;
    }
};

// Emits changed() when the appearance flips between light and dark.
class PaletteNotifier : public QObject {
    Q_OBJECT
public:
    static PaletteNotifier& instance();

    // Re-reads the application palette (when the appearance is not forced) and emits changed()
    // if the appearance flipped.
    void recheck();

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PaletteNotifier();
};

// Repaints `widget` whenever the appearance flips.
void repaintOnAppearanceChange(QWidget* widget);
// Sets one role of the widget's Qt palette to the named colour, now and again whenever the
// appearance flips (for standard widgets that draw with their QPalette).
void followPaletteColor(QWidget* widget, QPalette::ColorRole role, PaletteColor color);

} // namespace velmora
