// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/DrawnText.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraType.h"

#include <QAbstractButton>
#include <functional>

namespace velmora {

// A borderless text button ("Dismiss", the confirmation's cancel and confirm): just its label in
// a font and a palette colour, dimmed while pressed. Given less than its label's width it elides
// the label at the tail.
class PlainTextButton : public QAbstractButton, public DrawsText {
    Q_OBJECT
public:
    explicit PlainTextButton(QWidget* parent = nullptr);

    void setLabel(const QString& label);
    void setLabelFont(const QFont& font);
    void setColor(ColorRef color);
    void setOnTap(std::function<void()> onTap) { onTap_ = std::move(onTap); }

    std::vector<DrawnText> drawnTexts() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont font_;
    ColorRef color_{PaletteColor::mutedText, 1.0, {}};
    std::function<void()> onTap_;
};

} // namespace velmora
