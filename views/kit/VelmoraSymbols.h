// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/VelmoraPalette.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QWidget>
#include <string>
#include <string_view>

class QPainter;

namespace velmora {

// Our own vector glyphs, looked up by the freedesktop icon name of what they show where one
// exists ("go-previous", "go-next", "go-down", "document-open-recent", "document-send",
// "preferences-system", "application-exit", "utilities-system-monitor", "view-refresh"), and by
// a name of ours with the "velmora-" prefix where none does ("velmora-drop",
// "velmora-drop-filled", "velmora-list-indented", "velmora-document-search", "velmora-live",
// "velmora-growth-accelerating", "velmora-growth-slowing"). Every path is a filled shape
// (outlines are already stroked) fitted into `box`, keeping the glyph's own proportions and
// centred. An unknown name gives an empty path.
QPainterPath symbolPath(std::string_view name, const QRectF& box);
bool hasSymbol(std::string_view name);

void paintSymbol(QPainter& painter, std::string_view name, const QRectF& box, const QColor& color);

// A glyph at a pixel size (the glyph box is the size of a capital letter line at that size).
class SymbolView : public QWidget {
    Q_OBJECT
public:
    explicit SymbolView(QWidget* parent = nullptr);
    SymbolView(std::string name, double pixelSize, ColorRef color, QWidget* parent = nullptr);

    void setSymbol(const std::string& name);
    const std::string& symbol() const { return name_; }
    void setColor(ColorRef color);
    ColorRef color() const { return color_; }
    // A fixed frame the glyph is centred in (e.g. 18 x 18); the default is the glyph size.
    void setFrameSize(QSize size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string name_;
    double pixelSize_ = 13;
    ColorRef color_;
    QSize frame_;
};

} // namespace velmora
