// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/VelmoraPalette.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstddef>

namespace velmora {

namespace {

struct Rgb {
    double r, g, b;
};

struct Entry {
    Rgb light;
    Rgb dark;
};

constexpr Rgb coolStrokeLight{0.150, 0.310, 0.430};
constexpr Rgb coolStrokeDark{0.561, 0.722, 0.902};

// Indexed by PaletteColor, in declaration order.
constexpr std::array<Entry, 21> entries{{
    {{0.961, 0.937, 0.890}, {0.133, 0.145, 0.165}}, // shell
    {{0.782, 0.694, 0.563}, {0.270, 0.286, 0.318}}, // shellStroke
    {{0.996, 0.984, 0.965}, {0.171, 0.184, 0.212}}, // inset
    {{0.760, 0.671, 0.553}, {0.276, 0.290, 0.333}}, // insetStroke
    {{0.984, 0.942, 0.862}, {0.227, 0.204, 0.184}}, // warmSurface
    {{0.470, 0.250, 0.000}, {0.941, 0.725, 0.357}}, // warmStroke
    {{0.934, 0.955, 0.985}, {0.228, 0.239, 0.271}}, // coolSurface
    {coolStrokeLight, coolStrokeDark},              // coolStroke
    {{0.075, 0.129, 0.180}, {0.908, 0.914, 0.926}}, // neutralText
    {{0.294, 0.353, 0.412}, {0.700, 0.730, 0.780}}, // mutedText
    {{0.760, 0.671, 0.553}, {0.260, 0.278, 0.306}}, // footerRule
    {{0.951, 0.962, 0.982}, {0.180, 0.196, 0.227}}, // utilitySurface
    {{0.653, 0.706, 0.802}, {0.298, 0.333, 0.392}}, // utilityStroke
    {{0.986, 0.991, 0.997}, {0.205, 0.221, 0.255}}, // utilityChip
    {{0.804, 0.845, 0.902}, {0.322, 0.353, 0.416}}, // utilityChipStroke
    {{0.043, 0.420, 0.280}, {0.373, 0.839, 0.608}}, // allClearText
    {coolStrokeLight, coolStrokeDark},              // watchText
    {{0.470, 0.250, 0.000}, {0.941, 0.725, 0.357}}, // suspectText
    {{0.560, 0.180, 0.150}, {1.000, 0.604, 0.565}}, // criticalText
    {{0.043, 0.420, 0.280}, {0.043, 0.420, 0.280}}, // primaryActionFill
    {{1.000, 1.000, 1.000}, {0.075, 0.129, 0.180}}, // accentFillForeground
}};

static_assert(entries.size() == static_cast<std::size_t>(PaletteColor::accentFillForeground) + 1);

struct Appearance {
    bool known = false;
    bool forced = false;
    bool dark = false;
};

Appearance& appearance() {
    static Appearance state;
    return state;
}

bool applicationPaletteIsDark() {
    if (qApp == nullptr) {
        return false;
    }
    return QGuiApplication::palette().color(QPalette::Window).lightnessF() < 0.5;
}

} // namespace

PaletteColor toneColor(SnapshotTone tone) {
    switch (tone) {
    case SnapshotTone::allClear:
        return PaletteColor::allClearText;
    case SnapshotTone::watch:
        return PaletteColor::watchText;
    case SnapshotTone::suspect:
        return PaletteColor::suspectText;
    case SnapshotTone::critical:
        return PaletteColor::criticalText;
    }
    return PaletteColor::allClearText;
}

PaletteColor severityColor(FindingSeverity severity) {
    return toneColor(static_cast<SnapshotTone>(static_cast<int>(severity)));
}

const VelmoraPalette& VelmoraPalette::light() {
    static const VelmoraPalette palette(false);
    return palette;
}

const VelmoraPalette& VelmoraPalette::dark() {
    static const VelmoraPalette palette(true);
    return palette;
}

const VelmoraPalette& VelmoraPalette::current() {
    Appearance& state = appearance();
    if (!state.known) {
        PaletteNotifier::instance(); // starts watching the application palette
        state.dark = applicationPaletteIsDark();
        state.known = true;
    }
    return state.dark ? dark() : light();
}

void VelmoraPalette::setDark(bool isDark) {
    Appearance& state = appearance();
    const bool flipped = !state.known || state.dark != isDark;
    state.known = true;
    state.forced = true;
    state.dark = isDark;
    if (flipped) {
        emit PaletteNotifier::instance().changed();
    }
}

void VelmoraPalette::followApplicationPalette() {
    appearance().forced = false;
    PaletteNotifier::instance().recheck();
}

QColor VelmoraPalette::color(PaletteColor name, double opacity) const {
    const Entry& entry = entries[static_cast<std::size_t>(name)];
    const Rgb& rgb = dark_ ? entry.dark : entry.light;
    return QColor::fromRgbF(static_cast<float>(rgb.r), static_cast<float>(rgb.g),
                            static_cast<float>(rgb.b),
                            static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
}

QColor VelmoraPalette::toneTint(SnapshotTone tone, double opacity) const {
    return color(toneColor(tone), opacity);
}

QColor VelmoraPalette::severityTint(FindingSeverity severity, double opacity) const {
    return color(severityColor(severity), opacity);
}

QColor ColorRef::resolve() const {
    if (fixed) {
        QColor out = *fixed;
        out.setAlphaF(static_cast<float>(out.alphaF() * std::clamp(opacity, 0.0, 1.0)));
        return out;
    }
    return VelmoraPalette::current().color(name, opacity);
}

PaletteNotifier::PaletteNotifier() {
    if (qApp != nullptr) {
        qApp->installEventFilter(this);
    }
}

PaletteNotifier& PaletteNotifier::instance() {
    static PaletteNotifier* notifier = new PaletteNotifier(); // lives as long as the process
    return *notifier;
}

void PaletteNotifier::recheck() {
    Appearance& state = appearance();
    if (state.forced) {
        return;
    }
    const bool isDark = applicationPaletteIsDark();
    const bool flipped = state.known && state.dark != isDark;
    state.dark = isDark;
    state.known = true;
    if (flipped) {
        emit changed();
    }
}

bool PaletteNotifier::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
        recheck();
    }
    return QObject::eventFilter(watched, event);
}

void repaintOnAppearanceChange(QWidget* widget) {
    QObject::connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, widget,
                     [widget] { widget->update(); });
}

void followPaletteColor(QWidget* widget, QPalette::ColorRole role, PaletteColor color) {
    auto apply = [widget, role, color] {
        QPalette palette = widget->palette();
        palette.setColor(role, VelmoraPalette::current().color(color));
        widget->setPalette(palette);
    };
    apply();
    QObject::connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, widget, apply);
}

} // namespace velmora
