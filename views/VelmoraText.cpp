#include "views/VelmoraText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int unlimitedLines = 1 << 20;

} // namespace

VelmoraText::VelmoraText(QWidget* parent) : QWidget(parent), font_(velmoraFont(TypeRole::body)) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    applySizePolicy();
    repaintOnAppearanceChange(this);
}

VelmoraText::VelmoraText(const QString& text, TypeRole role, ColorRef color, QWidget* parent)
    : VelmoraText(parent) {
    font_ = velmoraFont(role);
    color_ = color;
    setText(text);
}

VelmoraText::~VelmoraText() = default;

QString VelmoraText::displayText() const {
    switch (case_) {
    case TextCase::upper:
        return text_.toUpper();
    case TextCase::lower:
        return text_.toLower();
    case TextCase::asIs:
        break;
    }
    return text_;
}

void VelmoraText::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    setAccessibleName(displayText());
    changed(true);
}

void VelmoraText::setRole(TypeRole role, std::optional<QFont::Weight> weight) {
    setTextFont(velmoraFont(role, weight));
}

void VelmoraText::setTextFont(const QFont& font) {
    if (font == font_) {
        return;
    }
    font_ = font;
    changed(true);
}

void VelmoraText::setColor(ColorRef color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    changed(false);
}

void VelmoraText::setTextCase(TextCase textCase) {
    if (textCase == case_) {
        return;
    }
    case_ = textCase;
    setAccessibleName(displayText());
    changed(true);
}

void VelmoraText::setTracking(double points) {
    if (points == tracking_) {
        return;
    }
    tracking_ = points;
    changed(true);
}

void VelmoraText::setLineLimit(int lines) {
    lines = std::max(0, lines);
    if (lines == lineLimit_) {
        return;
    }
    lineLimit_ = lines;
    applySizePolicy();
    changed(true);
}

void VelmoraText::setTruncation(Truncation truncation) {
    if (truncation == truncation_) {
        return;
    }
    truncation_ = truncation;
    changed(false);
}

void VelmoraText::setMinimumScaleFactor(double factor) {
    factor = std::clamp(factor, 0.1, 1.0);
    if (factor == minimumScale_) {
        return;
    }
    minimumScale_ = factor;
    changed(false);
}

void VelmoraText::setSelectable(bool selectable) {
    if (selectable == selectable_) {
        return;
    }
    selectable_ = selectable;
    setFocusPolicy(selectable ? Qt::ClickFocus : Qt::NoFocus);
    setCursor(selectable ? Qt::IBeamCursor : Qt::ArrowCursor);
    setContextMenuPolicy(selectable ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

void VelmoraText::setTextAlignment(Qt::Alignment alignment) {
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment == alignment_) {
        return;
    }
    alignment_ = alignment;
    changed(false);
}

void VelmoraText::changed(bool geometry) {
    if (geometry) {
        updateGeometry();
    }
    update();
}

void VelmoraText::applySizePolicy() {
    QSizePolicy policy(QSizePolicy::Preferred,
                       lineLimit_ == 1 ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    policy.setHeightForWidth(lineLimit_ != 1);
    setSizePolicy(policy);
}

QFont VelmoraText::effectiveFont() const {
    QFont font = font_;
    if (tracking_ != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, tracking_);
    }
    return font;
}

double VelmoraText::naturalWidth() const {
    return QFontMetricsF(effectiveFont()).horizontalAdvance(displayText());
}

VelmoraText::LineFit VelmoraText::fitSingleLine(double width) const {
    const QString shown = displayText();
    const double natural = naturalWidth();
    if (natural <= width + 0.01 || natural <= 0) {
        return {1.0, shown, false};
    }
    const double scale = std::max(minimumScale_, width / natural);
    if (natural * scale <= width + 0.01) {
        return {scale, shown, false};
    }
    const QFontMetricsF metrics(effectiveFont());
    const Qt::TextElideMode mode =
        truncation_ == Truncation::middle ? Qt::ElideMiddle : Qt::ElideRight;
    return {minimumScale_, metrics.elidedText(shown, mode, width / minimumScale_), true};
}

int VelmoraText::wrappedLineCount(double width) const {
    QTextLayout layout(displayText(), effectiveFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int count = 0;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(std::max(1.0, width));
        ++count;
    }
    layout.endLayout();
    return std::max(1, count);
}

QSize VelmoraText::sizeHint() const {
    const QFontMetricsF metrics(effectiveFont());
    const int width = static_cast<int>(std::ceil(naturalWidth()));
    return {width, static_cast<int>(std::ceil(metrics.height()))};
}

QSize VelmoraText::minimumSizeHint() const {
    const QFontMetricsF metrics(effectiveFont());
    const int natural = static_cast<int>(std::ceil(naturalWidth()));
    const int floor = static_cast<int>(std::ceil(metrics.horizontalAdvance(QStringLiteral("W…"))));
    return {std::min(natural, floor), static_cast<int>(std::ceil(metrics.height()))};
}

bool VelmoraText::hasHeightForWidth() const {
    return lineLimit_ != 1;
}

int VelmoraText::heightForWidth(int width) const {
    const QFontMetricsF metrics(effectiveFont());
    if (lineLimit_ == 1) {
        return static_cast<int>(std::ceil(metrics.height()));
    }
    const int limit = lineLimit_ == 0 ? unlimitedLines : lineLimit_;
    const int lines = std::min(limit, wrappedLineCount(width));
    return static_cast<int>(std::ceil(metrics.height() + (lines - 1) * metrics.lineSpacing()));
}

void VelmoraText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(color_.resolve());
    painter.setFont(effectiveFont());
    if (lineLimit_ == 1) {
        paintSingleLine(painter);
    } else {
        paintWrapped(painter);
    }
}

void VelmoraText::paintSingleLine(QPainter& painter) {
    const LineFit fit = fitSingleLine(width());
    const QFontMetricsF metrics(effectiveFont());
    const double drawnWidth = metrics.horizontalAdvance(fit.shown) * fit.scale;
    double x = 0;
    if (alignment_ & Qt::AlignRight) {
        x = width() - drawnWidth;
    } else if (alignment_ & Qt::AlignHCenter) {
        x = (width() - drawnWidth) / 2;
    }
    const double lineHeight = metrics.height() * fit.scale;
    const double y = (height() - lineHeight) / 2 + metrics.ascent() * fit.scale;
    painter.translate(x, y);
    painter.scale(fit.scale, fit.scale);
    painter.drawText(QPointF(0, 0), fit.shown);
}

void VelmoraText::paintWrapped(QPainter& painter) {
    const QString shown = displayText();
    const QFont font = effectiveFont();
    const QFontMetricsF metrics(font);
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(alignment_);
    layout.setTextOption(option);
    const int limit = lineLimit_ == 0 ? unlimitedLines : lineLimit_;
    layout.beginLayout();
    double y = 0;
    int count = 0;
    int lastStart = 0;
    bool more = false;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        if (count == limit) {
            more = true;
            break;
        }
        line.setLineWidth(width());
        line.setPosition(QPointF(0, y));
        lastStart = line.textStart();
        y += metrics.lineSpacing();
        ++count;
    }
    layout.endLayout();
    const int drawn = more ? count - 1 : count;
    for (int i = 0; i < drawn; ++i) {
        layout.lineAt(i).draw(&painter, QPointF(0, 0));
    }
    if (more && count > 0) {
        const QString rest = shown.mid(lastStart).simplified();
        const QString elided = metrics.elidedText(rest, Qt::ElideRight, width());
        const QTextLine last = layout.lineAt(count - 1);
        painter.drawText(QPointF(0, last.y() + last.ascent()), elided);
    }
}

void VelmoraText::contextMenuEvent(QContextMenuEvent* event) {
    if (!selectable_) {
        QWidget::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addAction(tr("Copy"), this,
                   [this] { QGuiApplication::clipboard()->setText(displayText()); });
    menu.exec(event->globalPos());
}

void VelmoraText::keyPressEvent(QKeyEvent* event) {
    if (selectable_ && event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(displayText());
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velmora
