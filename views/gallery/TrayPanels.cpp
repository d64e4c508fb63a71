// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/gallery/TrayPanels.h"

#include "views/kit/VelmoraPalette.h"
#include "views/tray/TrayGlyph.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace velmora {
namespace {

constexpr int panelHeight = 28;
constexpr int edge = 8;
constexpr int countGap = 6;
constexpr int toneGap = 16;
constexpr int enlargement = 4;
constexpr int counts[] = {0, 1, 3, 9, 12};

const QColor darkPanel(0x1e, 0x1e, 0x1e);
const QColor lightPanel(0xf0, 0xf0, 0xf0);

// Every tone with every count, then the not-watching icon on its own.
int stripWidth() {
    const int tones = static_cast<int>(allCases<SnapshotTone>().size());
    const int perTone = static_cast<int>(std::size(counts));
    const int side = trayGlyphSize().width();
    return 2 * edge + tones * perTone * side + tones * (perTone - 1) * countGap + tones * toneGap +
           side;
}

// One panel strip with every icon at its real size, the way a tray paints it.
void paintStrip(QPainter& painter, int top, const QColor& panel) {
    painter.fillRect(QRect(0, top, stripWidth(), panelHeight), panel);
    const int side = trayGlyphSize().height();
    int x = edge;
    for (const SnapshotTone tone : allCases<SnapshotTone>()) {
        for (const int count : counts) {
            painter.drawImage(QPoint(x, top + (panelHeight - side) / 2),
                              renderTrayGlyph(traySnapshot(tone, count), 1.0));
            x += side + countGap;
        }
        x += toneGap - countGap;
    }
    TrayIconLook notWatching;
    notWatching.notWatching = true;
    painter.drawImage(QPoint(x, top + (panelHeight - side) / 2), renderTrayGlyph(notWatching, 1.0));
}

bool save(const QImage& image, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "velmora-gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

bool renderTrayPanels(const QString& dir) {
    const bool wasDark = VelmoraPalette::current().isDark();
    bool ok = true;
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        QImage strips(stripWidth(), 2 * panelHeight, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&strips);
            paintStrip(painter, 0, darkPanel);
            paintStrip(painter, panelHeight, lightPanel);
        }
        const QString name = QStringLiteral("tray-panels-%1")
                                 .arg(dark ? QStringLiteral("dark") : QStringLiteral("light"));
        ok &= save(strips, dir, name + QStringLiteral(".png"));
        ok &= save(strips.scaled(strips.size() * enlargement, Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation),
                   dir, name + QStringLiteral("-4x.png"));
    }
    VelmoraPalette::setDark(wasDark);
    return ok;
}

PopoverSnapshot traySnapshot(SnapshotTone tone, int suspects) {
    PopoverSnapshot snapshot;
    snapshot.globalTone = tone;
    for (int i = 0; i < suspects; ++i) {
        FindingSnapshot row;
        row.key = "row" + std::to_string(i);
        row.title = "Process " + std::to_string(i);
        row.severity = tone == SnapshotTone::critical && i == 0 ? FindingSeverity::critical
                                                                : FindingSeverity::suspect;
        snapshot.rows.push_back(row);
    }
    return snapshot;
}

} // namespace velmora
