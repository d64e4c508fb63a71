// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/DrawnText.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraType.h"

#include <QFont>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

namespace velmora {

// The one text widget of the popover surfaces: a text in a font and a palette colour, optionally
// upper- or lower-cased and letter-tracked, on one line (shrinking to a minimum scale factor
// before it truncates at the tail or in the middle), on at most N lines, or wrapping freely.
// Every setter does nothing, not even a repaint, when the value is unchanged. The text sits in
// the contents rect: contents margins add to its size.
class VelmoraText : public QWidget, public DrawsText {
    Q_OBJECT
public:
    enum class Truncation { tail, middle };
    enum class TextCase { asIs, upper, lower };

    // The text shown on one line at `width`: the scale it is drawn at and the (possibly elided)
    // text.
    struct LineFit {
        double scale = 1.0;
        QString shown;
        bool truncated = false;
    };

    explicit VelmoraText(QWidget* parent = nullptr);
    VelmoraText(const QString& text, TypeRole role, ColorRef color, QWidget* parent = nullptr);
    ~VelmoraText() override;

    void setText(const QString& text);
    QString text() const { return text_; }
    // The text as a person reads it (after case conversion).
    QString displayText() const;

    void setRole(TypeRole role, std::optional<QFont::Weight> weight = {});
    void setTextFont(const QFont& font);
    QFont textFont() const { return font_; }
    void setColor(ColorRef color);
    ColorRef color() const { return color_; }
    void setTextCase(TextCase textCase);
    void setUppercase(bool upper) { setTextCase(upper ? TextCase::upper : TextCase::asIs); }
    // Extra space between letters, in pixels.
    void setTracking(double pixels);
    // 1: one line; N > 1: at most N lines; 0: wraps onto as many lines as it needs.
    void setLineLimit(int lines);
    int lineLimit() const { return lineLimit_; }
    void setTruncation(Truncation truncation);
    // On one line, the font shrinks down to this factor of its size before the text truncates.
    void setMinimumScaleFactor(double factor);
    void setSelectable(bool selectable);
    void setTextAlignment(Qt::Alignment alignment);

    LineFit fitSingleLine(double width) const;
    // The narrowest width at which one line still shows its first `characters` characters and
    // an ellipsis, at the minimum scale (the whole width when the text is no longer than that).
    int truncatedWidth(int characters) const;
    // The lines painted at the current size (one line, or the wrapped lines with the last one
    // elided when the line limit cuts the text).
    std::vector<DrawnText> drawnTexts() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void changed(bool geometry);
    QFont effectiveFont() const;
    double naturalWidth() const;
    int wrappedLineCount(double width) const;
    double alignedX(double available, double drawnWidth) const;
    std::vector<DrawnText> singleLine() const;
    std::vector<DrawnText> wrappedLines() const;
    void applySizePolicy();

    QString text_;
    QFont font_;
    ColorRef color_;
    TextCase case_ = TextCase::asIs;
    double tracking_ = 0;
    int lineLimit_ = 0;
    Truncation truncation_ = Truncation::tail;
    double minimumScale_ = 1.0;
    bool selectable_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft;
};

} // namespace velmora
