// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/SurfacePanel.h"

#include "views/kit/SurfacePainter.h"

#include <QBoxLayout>
#include <QPainter>

namespace velmora {

void paintPanel(QPainter& painter, const QRectF& rect, const PanelStyle& style) {
    const double radius = style.radius == PanelStyle::capsule ? rect.height() / 2 : style.radius;
    const QBrush fill = style.fillEnd
                            ? diagonalGradient(rect, style.fill.resolve(), style.fillEnd->resolve())
                            : QBrush(style.fill.resolve());
    const QColor border = style.stroke ? style.stroke->resolve() : QColor(Qt::transparent);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintSurface(painter, rect, radius, fill, border, style.stroke ? style.strokeWidth : 0);
    painter.restore();
}

Panel::Panel(PanelStyle style, QWidget* parent) : QWidget(parent), style_(std::move(style)) {
    repaintOnAppearanceChange(this);
}

void Panel::setPanelStyle(const PanelStyle& style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    update();
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPanel(painter, QRectF(rect()), style_);
}

PanelButton::PanelButton(PanelStyle style, QWidget* parent)
    : QAbstractButton(parent), style_(std::move(style)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onTap_) {
            onTap_();
        }
    });
    repaintOnAppearanceChange(this);
}

void PanelButton::setPanelStyle(const PanelStyle& style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    update();
}

void PanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPanel(painter, QRectF(rect()), style_);
    if (isDown()) {
        PanelStyle pressed = style_;
        pressed.fill = ColorRef::fixedColor(QColor(0, 0, 0, 18));
        pressed.fillEnd.reset();
        pressed.stroke.reset();
        paintPanel(painter, QRectF(rect()), pressed);
    }
    if (hasFocus()) {
        PanelStyle ring = style_;
        ring.fill = ColorRef::fixedColor(Qt::transparent);
        ring.fillEnd.reset();
        ring.stroke = paletteRef(PaletteColor::coolStroke, 0.7);
        ring.strokeWidth = 1.5;
        paintPanel(painter, QRectF(rect()), ring);
    }
}

CapsuleLabel::CapsuleLabel(TypeRole role, std::optional<QFont::Weight> weight, int paddingX,
                           int paddingY, QWidget* parent)
    : Panel(PanelStyle{PanelStyle::capsule, paletteRef(PaletteColor::inset), {}, {}, 0}, parent),
      label_(makeText(role, weight, paletteRef(PaletteColor::mutedText), 1, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(paddingX, paddingY, paddingX, paddingY);
    layout->addWidget(label_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleLabel::setText(const QString& text) {
    label_->setText(text);
    setAccessibleName(label_->displayText());
}

void CapsuleLabel::setTint(ColorRef text, ColorRef fill) {
    label_->setColor(text);
    PanelStyle style = panelStyle();
    style.fill = fill;
    setPanelStyle(style);
}

VerticalDivider::VerticalDivider(int height, int padding, QWidget* parent) : QWidget(parent) {
    setFixedSize(2 * padding + 1, height);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    repaintOnAppearanceChange(this);
}

void VerticalDivider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRectF(width() / 2, 0, 1, height()),
                     VelmoraPalette::current().color(PaletteColor::insetStroke, 0.5));
}

VelmoraText* makeText(TypeRole role, std::optional<QFont::Weight> weight, ColorRef color,
                      int lineLimit, QWidget* parent) {
    auto* text = new VelmoraText(parent);
    text->setRole(role, weight);
    text->setColor(color);
    text->setLineLimit(lineLimit);
    return text;
}

void setShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) {
        widget->setVisible(shown);
    }
}

} // namespace velmora
