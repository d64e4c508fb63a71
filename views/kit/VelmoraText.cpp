// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/VelmoraText.h"

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

void VelmoraText::setTracking(double pixels) {
    if (pixels == tracking_) {
        return;
    }
    tracking_ = pixels;
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

int VelmoraText::truncatedWidth(int characters) const {
    const QString shown = displayText();
    const QMargins margins = contentsMargins();
    const QFontMetricsF metrics(effectiveFont());
    double width = metrics.horizontalAdvance(shown);
    if (shown.size() > characters) {
        width = std::min(width, metrics.horizontalAdvance(shown.left(characters) + QChar(0x2026)));
    }
    return static_cast<int>(std::ceil(width * minimumScale_)) + margins.left() + margins.right();
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
    const QMargins margins = contentsMargins();
    const int width = static_cast<int>(std::ceil(naturalWidth()));
    return QSize(width, static_cast<int>(std::ceil(metrics.height()))).grownBy(margins);
}

QSize VelmoraText::minimumSizeHint() const {
    const QFontMetricsF metrics(effectiveFont());
    const int natural = static_cast<int>(std::ceil(naturalWidth()));
    const int floor = static_cast<int>(std::ceil(metrics.horizontalAdvance(QStringLiteral("W…"))));
    return QSize(std::min(natural, floor), static_cast<int>(std::ceil(metrics.height())))
        .grownBy(contentsMargins());
}

bool VelmoraText::hasHeightForWidth() const {
    return lineLimit_ != 1;
}

int VelmoraText::heightForWidth(int width) const {
    const QFontMetricsF metrics(effectiveFont());
    const QMargins margins = contentsMargins();
    if (lineLimit_ == 1) {
        return static_cast<int>(std::ceil(metrics.height())) + margins.top() + margins.bottom();
    }
    const int limit = lineLimit_ == 0 ? unlimitedLines : lineLimit_;
    const int lines = std::min(limit, wrappedLineCount(width - margins.left() - margins.right()));
    return static_cast<int>(std::ceil(metrics.height() + (lines - 1) * metrics.lineSpacing())) +
           margins.top() + margins.bottom();
}

double VelmoraText::alignedX(double available, double drawnWidth) const {
    if (alignment_ & Qt::AlignRight) {
        return available - drawnWidth;
    }
    if (alignment_ & Qt::AlignHCenter) {
        return (available - drawnWidth) / 2;
    }
    return 0;
}

std::vector<DrawnText> VelmoraText::drawnTexts() const {
    if (displayText().isEmpty()) {
        return {};
    }
    return lineLimit_ == 1 ? singleLine() : wrappedLines();
}

std::vector<DrawnText> VelmoraText::singleLine() const {
    const QRectF box = QRectF(contentsRect());
    const LineFit fit = fitSingleLine(box.width());
    const QFont font = effectiveFont();
    const QFontMetricsF metrics(font);
    const double drawnWidth = metrics.horizontalAdvance(fit.shown) * fit.scale;
    const double lineHeight = metrics.height() * fit.scale;
    const QPointF origin(box.left() + alignedX(box.width(), drawnWidth),
                         box.top() + (box.height() - lineHeight) / 2);
    return {DrawnText{fit.shown, font, origin, fit.scale, fit.truncated}};
}

// The text broken at word boundaries (anywhere inside a word too long for a line), one line
// every line spacing; when the line limit leaves text over, the last line shows the rest of
// the text elided at the tail.
std::vector<DrawnText> VelmoraText::wrappedLines() const {
    const QString shown = displayText();
    const QFont font = effectiveFont();
    const QFontMetricsF metrics(font);
    const QRectF box = QRectF(contentsRect());
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const int limit = lineLimit_ == 0 ? unlimitedLines : lineLimit_;
    std::vector<std::pair<int, int>> spans;
    bool more = false;
    layout.beginLayout();
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        if (static_cast<int>(spans.size()) == limit) {
            more = true;
            break;
        }
        line.setLineWidth(std::max(1.0, box.width()));
        spans.emplace_back(line.textStart(), line.textLength());
    }
    layout.endLayout();

    std::vector<DrawnText> lines;
    lines.reserve(spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const bool last = i + 1 == spans.size();
        DrawnText drawn{{}, font, {}, 1.0, false};
        if (last && more) {
            const QString rest = shown.mid(spans[i].first).simplified();
            drawn.text = metrics.elidedText(rest, Qt::ElideRight, box.width());
            drawn.elided = true;
        } else {
            QString text = shown.mid(spans[i].first, spans[i].second);
            while (!text.isEmpty() && text.back().isSpace()) {
                text.chop(1);
            }
            drawn.text = text;
        }
        const double width = metrics.horizontalAdvance(drawn.text);
        drawn.origin = QPointF(box.left() + alignedX(box.width(), width),
                               box.top() + static_cast<double>(i) * metrics.lineSpacing());
        lines.push_back(std::move(drawn));
    }
    return lines;
}

void VelmoraText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(color_.resolve());
    for (const DrawnText& line : drawnTexts()) {
        const QFontMetricsF metrics(line.font);
        painter.save();
        painter.setFont(line.font);
        painter.translate(line.origin);
        painter.scale(line.scale, line.scale);
        painter.drawText(QPointF(0, metrics.ascent()), line.text);
        painter.restore();
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
