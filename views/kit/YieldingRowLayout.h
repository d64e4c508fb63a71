// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ItemListLayout.h"

#include <functional>
#include <vector>

namespace velmora {

// A single row of widgets at their preferred widths, centred vertically, with an optional
// flexible space that pushes the widgets after it to the trailing edge. When the row is
// narrower than its widgets want, they give up width in the steps added with addYieldStep, in
// that order, each step taking a widget down to its floor and no further: the widget named in
// the last step is the last to give way.
class YieldingRowLayout : public ItemListLayout {
    Q_OBJECT
public:
    // The narrowest a widget may become in one step, read when the row is laid out.
    using Floor = std::function<int(const QWidget&)>;

    explicit YieldingRowLayout(int spacing, QWidget* parent = nullptr);

    void addWidget(QWidget* widget);
    // The widgets added after this one sit at the trailing edge.
    void addFlexibleSpace();
    void addYieldStep(QWidget* widget, Floor floor);

    // The width each widget gets in a row `width` wide (contents margins excluded), in the
    // order the widgets were added.
    std::vector<int> widthsFor(int width) const;

    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    void itemTaken(int index) override;

    struct Step {
        QWidget* widget;
        Floor floor;
    };

    int indexOfWidget(const QWidget* widget) const;
    int naturalWidth() const; // widths at their hints, with spacing
    int rowHeight() const;

    int trailingFrom_ = -1; // index of the first trailing widget, -1 without a flexible space
    std::vector<Step> steps_;
    int spacing_;
};

} // namespace velmora
