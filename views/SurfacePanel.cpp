#include "views/SurfacePanel.h"

#include <QBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {

QPainterPath roundedPath(const QRectF& rect, double radius) {
    const double r =
        radius == PanelStyle::capsule ? rect.height() / 2 : std::min(radius, rect.height() / 2);
    QPainterPath path;
    path.addRoundedRect(rect, r, r);
    return path;
}

} // namespace

void paintPanel(QPainter& painter, const QRectF& rect, const PanelStyle& style) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = roundedPath(rect, style.radius);
    if (style.fillEnd) {
        QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
        gradient.setColorAt(0, style.fill.resolve());
        gradient.setColorAt(1, style.fillEnd->resolve());
        painter.fillPath(shape, gradient);
    } else {
        painter.fillPath(shape, style.fill.resolve());
    }
    if (style.stroke && style.strokeWidth > 0) {
        const double half = style.strokeWidth / 2;
        const QRectF inner = rect.adjusted(half, half, -half, -half);
        const double radius = style.radius == PanelStyle::capsule
                                  ? PanelStyle::capsule
                                  : std::max(0.0, style.radius - half);
        painter.setPen(QPen(style.stroke->resolve(), style.strokeWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedPath(inner, radius));
    }
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

DotView::DotView(double diameter, ColorRef color, QWidget* parent)
    : QWidget(parent), diameter_(diameter), color_(color) {
    const int side = static_cast<int>(std::ceil(diameter));
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    repaintOnAppearanceChange(this);
}

void DotView::setColor(ColorRef color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

void DotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_.resolve());
    const QRectF box(QPointF(0, 0), QSizeF(diameter_, diameter_));
    painter.drawEllipse(box.translated(QRectF(rect()).center() - box.center()));
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
