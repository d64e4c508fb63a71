// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/TrayIconLook.h"

#include <QIconEngine>

namespace velmora {

// The tray glyph as an icon that paints itself at whatever size the tray host asks for. A
// pixmap icon scaled to the host's size leaves its scaled copy in Qt's pixmap cache under a key
// of its own, and the tray icon is a new icon at every animation frame and every change of
// count or tone: those copies pile up to the cache's 10 MB limit. This engine keeps nothing:
// it paints the glyph with the host's painter, and renders a fresh picture when a pixmap is
// asked for (a D-Bus tray sends pixmaps).
class TrayGlyphIconEngine : public QIconEngine {
public:
    explicit TrayGlyphIconEngine(const TrayIconLook& look) : look_(look) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine* clone() const override;

    const TrayIconLook& look() const { return look_; }

private:
    TrayIconLook look_;
};

// The glyph as an icon that paints itself at the size the tray host asks for: a pixmap icon
// would leave a scaled copy in Qt's pixmap cache for every frame the tray has shown.
QIcon trayGlyphIcon(const TrayIconLook& look);

} // namespace velmora
