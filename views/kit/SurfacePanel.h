// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/SurfaceFrame.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"
#include "views/kit/VelmoraType.h"

#include <QAbstractButton>
#include <QWidget>
#include <functional>
#include <optional>

class QPainter;

namespace velmora {

// A palette colour at an opacity.
inline ColorRef paletteRef(PaletteColor name, double opacity = 1.0) {
    return ColorRef{name, opacity, {}};
}

// The background of a card: a rounded rectangle (or a capsule) filled with one colour or a
// top-leading to bottom-trailing gradient, with an optional border drawn inside its edge.
struct PanelStyle {
    static constexpr double capsule = -1; // a radius of half the height

    double radius = 16;
    ColorRef fill;
    std::optional<ColorRef> fillEnd;
    std::optional<ColorRef> stroke;
    double strokeWidth = 1;

    bool operator==(const PanelStyle&) const = default;
};

void paintPanel(QPainter& painter, const QRectF& rect, const PanelStyle& style);

// A plain widget that paints a PanelStyle behind its layout.
class Panel : public QWidget {
    Q_OBJECT
public:
    explicit Panel(PanelStyle style = {}, QWidget* parent = nullptr);

    void setPanelStyle(const PanelStyle& style);
    const PanelStyle& panelStyle() const { return style_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelStyle style_;
};

// A plain-style button whose label is its layout of child widgets on a PanelStyle
// background. A click anywhere on it calls the tap closure.
class PanelButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PanelButton(PanelStyle style = {}, QWidget* parent = nullptr);

    void setPanelStyle(const PanelStyle& style);
    const PanelStyle& panelStyle() const { return style_; }
    void setOnTap(std::function<void()> onTap) { onTap_ = std::move(onTap); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelStyle style_;
    std::function<void()> onTap_;
};

// A one-line text on a capsule: pills and tags.
class CapsuleLabel : public Panel {
    Q_OBJECT
public:
    CapsuleLabel(TypeRole role, std::optional<QFont::Weight> weight, int paddingX, int paddingY,
                 QWidget* parent = nullptr);

    void setText(const QString& text);
    // The text colour and the capsule fill.
    void setTint(ColorRef text, ColorRef fill);
    VelmoraText* label() const { return label_; }
    QString displayText() const { return label_->displayText(); }

private:
    VelmoraText* label_;
};

// A thin vertical rule between the items of a row, `height` high with `padding` on both sides.
class VerticalDivider : public QWidget {
    Q_OBJECT
public:
    VerticalDivider(int height, int padding, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A text in a type role and colour; lineLimit 1 is one line, 0 wraps freely.
VelmoraText* makeText(TypeRole role, std::optional<QFont::Weight> weight, ColorRef color,
                      int lineLimit, QWidget* parent);

// Shows or hides `widget` only when that changes anything.
void setShown(QWidget* widget, bool shown);

} // namespace velmora
