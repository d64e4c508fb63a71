// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/TrayGlyphIconEngine.h"

#include "views/tray/TrayGlyph.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace velmora {

void TrayGlyphIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) {
    const QSizeF glyph = trayGlyphSize();
    // The glyph keeps its proportions: as large as fits in the rectangle, centred.
    const double scale = std::min(rect.width() / glyph.width(), rect.height() / glyph.height());
    if (scale <= 0) {
        return;
    }
    painter->save();
    painter->translate(rect.x() + (rect.width() - glyph.width() * scale) / 2,
                       rect.y() + (rect.height() - glyph.height() * scale) / 2);
    painter->scale(scale, scale);
    paintTrayGlyph(*painter, look_);
    painter->restore();
}

QPixmap TrayGlyphIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    if (size.isEmpty()) {
        return {};
    }
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paint(&painter, QRect(QPoint(), size), mode, state);
    return picture;
}

// QIcon asks for the size in device pixels already and sets the pixel ratio itself.
QPixmap TrayGlyphIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                          qreal) {
    return pixmap(size, mode, state);
}

QSize TrayGlyphIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    return size;
}

QList<QSize> TrayGlyphIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    return {trayGlyphSize(), trayGlyphSize() * 2};
}

QString TrayGlyphIconEngine::key() const {
    return QStringLiteral("velmora-tray-glyph");
}

QIconEngine* TrayGlyphIconEngine::clone() const {
    return new TrayGlyphIconEngine(look_);
}

QIcon trayGlyphIcon(const TrayIconLook& look) {
    return QIcon(new TrayGlyphIconEngine(look));
}

} // namespace velmora
