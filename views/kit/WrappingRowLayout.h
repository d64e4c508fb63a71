// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ItemListLayout.h"

#include <functional>

namespace velmora {

// A row of widgets at their preferred sizes, leading-aligned, that continues on a new line
// when the next widget would pass the trailing edge: a row of buttons keeps every label whole
// at any width. A widget wider than the whole row gets the row's width and must fit itself in.
//
// With a floor, the narrowest a widget may become, a line keeps the next widget while every
// widget on it still fits at its floor, and the widgets of a line share its width as a box
// layout with a trailing stretch shares it: at their preferred widths while they fit, giving up
// width evenly when they do not. A row that fits on one line then looks as that box layout.
class WrappingRowLayout : public ItemListLayout {
    Q_OBJECT
public:
    using Floor = std::function<int(const QWidget&)>;

    WrappingRowLayout(int horizontalSpacing, int verticalSpacing, QWidget* parent = nullptr);

    void insertWidget(int index, QWidget* widget);
    void setFloor(Floor floor);

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
    // The width an item takes when deciding where lines break.
    int breakingWidth(const QLayoutItem& item, int rowWidth) const;
    // The items of one line in `rect`, at their preferred widths or given up evenly.
    void placeLine(const QList<QLayoutItem*>& line, const QRect& rect) const;

    int horizontal_;
    int vertical_;
    Floor floor_;
};

} // namespace velmora
