// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/VelmoraType.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace velmora {

namespace {

struct RoleStyle {
    int pixelSize;
    QFont::Weight weight;
    bool monospaced;
};

RoleStyle styleOf(TypeRole role) {
    switch (role) {
    case TypeRole::eyebrow:
        return {12, QFont::Medium, false};
    case TypeRole::tonePill:
        return {12, QFont::Bold, false};
    case TypeRole::summary:
        return {13, QFont::Medium, false};
    case TypeRole::title:
        return {15, QFont::DemiBold, false};
    case TypeRole::rate:
        return {16, QFont::Bold, true};
    case TypeRole::body:
        return {13, QFont::Normal, false};
    case TypeRole::caption:
        return {12, QFont::Normal, false};
    case TypeRole::metric:
        return {13, QFont::Medium, true};
    }
    return {13, QFont::Normal, false};
}

} // namespace

QString velmoraRoundedFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* candidate : {"Nunito", "Varela Round", "M PLUS Rounded 1c", "Comfortaa",
                                      "Quicksand", "Arial Rounded MT Bold"}) {
            if (installed.contains(QString::fromLatin1(candidate), Qt::CaseInsensitive)) {
                return QString::fromLatin1(candidate);
            }
        }
        return QApplication::font().family();
    }();
    return family;
}

QFont velmoraRoundedFont(int pixelSize, QFont::Weight weight) {
    QFont font(velmoraRoundedFamily());
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont velmoraFont(TypeRole role, std::optional<QFont::Weight> weight) {
    const RoleStyle style = styleOf(role);
    if (!style.monospaced) {
        return velmoraRoundedFont(style.pixelSize, weight.value_or(style.weight));
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) {
        // Some platforms (the offscreen one among them) report a proportional "fixed" font.
        font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"),
                          QStringLiteral("Liberation Mono"), QStringLiteral("monospace")});
    }
    font.setPixelSize(style.pixelSize);
    font.setWeight(weight.value_or(style.weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace velmora
