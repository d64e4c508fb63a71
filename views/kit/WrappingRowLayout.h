// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ItemListLayout.h"

namespace velmora {

// A row of widgets at their preferred sizes, leading-aligned, that continues on a new line
// when the next widget would pass the trailing edge: a row of buttons keeps every label whole
// at any width. A widget wider than the whole row gets the row's width and must fit itself in.
class WrappingRowLayout : public ItemListLayout {
    Q_OBJECT
public:
    WrappingRowLayout(int horizontalSpacing, int verticalSpacing, QWidget* parent = nullptr);

    void insertWidget(int index, QWidget* widget);

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

    // How many lines the items take at `width` (the contents margins excluded).
    int lineCount(int width) const;

private:
    // Places the items in `rect` when `apply`, and returns the height they take.
    int arrange(const QRect& rect, bool apply, int* lines = nullptr) const;

    int horizontal_;
    int vertical_;
};

} // namespace velmora
