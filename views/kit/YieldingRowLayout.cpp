// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/YieldingRowLayout.h"

#include <QWidget>
#include <algorithm>

namespace velmora {

YieldingRowLayout::YieldingRowLayout(int spacing, QWidget* parent)
    : ItemListLayout(parent), spacing_(spacing) {}

void YieldingRowLayout::addWidget(QWidget* widget) {
    addChildWidget(widget);
    items_.append(new QWidgetItem(widget));
    invalidate();
}

void YieldingRowLayout::addFlexibleSpace() {
    trailingFrom_ = static_cast<int>(items_.size());
}

void YieldingRowLayout::addYieldStep(QWidget* widget, Floor floor) {
    steps_.push_back({widget, std::move(floor)});
    invalidate();
}

void YieldingRowLayout::itemTaken(int index) {
    if (trailingFrom_ > index) {
        --trailingFrom_;
    }
}

int YieldingRowLayout::indexOfWidget(const QWidget* widget) const {
    for (int i = 0; i < items_.size(); ++i) {
        if (items_.at(i)->widget() == widget) {
            return i;
        }
    }
    return -1;
}

int YieldingRowLayout::naturalWidth() const {
    int width = 0;
    int shown = 0;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            width += item->sizeHint().width() + (shown++ > 0 ? spacing_ : 0);
        }
    }
    return width;
}

int YieldingRowLayout::rowHeight() const {
    int height = 0;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            height = std::max(height, item->sizeHint().height());
        }
    }
    return height;
}

std::vector<int> YieldingRowLayout::widthsFor(int width) const {
    std::vector<int> widths;
    widths.reserve(static_cast<std::size_t>(items_.size()));
    for (const QLayoutItem* item : items_) {
        widths.push_back(item->isEmpty() ? 0 : item->sizeHint().width());
    }
    int deficit = naturalWidth() - width;
    for (const Step& step : steps_) {
        if (deficit <= 0) {
            break;
        }
        const int index = indexOfWidget(step.widget);
        if (index < 0 || items_.at(index)->isEmpty()) {
            continue;
        }
        int& current = widths[static_cast<std::size_t>(index)];
        const int give = std::clamp(current - step.floor(*step.widget), 0, deficit);
        current -= give;
        deficit -= give;
    }
    return widths;
}

QSize YieldingRowLayout::minimumSize() const {
    const std::vector<int> widths = widthsFor(0);
    int width = 0;
    int shown = 0;
    for (int i = 0; i < items_.size(); ++i) {
        if (!items_.at(i)->isEmpty()) {
            width += widths[static_cast<std::size_t>(i)] + (shown++ > 0 ? spacing_ : 0);
        }
    }
    const QMargins margins = contentsMargins();
    return QSize(width, rowHeight()).grownBy(margins);
}

QSize YieldingRowLayout::sizeHint() const {
    return QSize(naturalWidth(), rowHeight()).grownBy(contentsMargins());
}

void YieldingRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    const std::vector<int> widths = widthsFor(area.width());
    const auto place = [&](int index, int x) {
        QLayoutItem* item = items_.at(index);
        const int width = widths[static_cast<std::size_t>(index)];
        const int height = std::min(item->sizeHint().height(), area.height());
        item->setGeometry(QRect(x, area.y() + (area.height() - height) / 2, width, height));
    };
    const int trailing = trailingFrom_ < 0 ? static_cast<int>(items_.size()) : trailingFrom_;
    int x = area.x();
    for (int i = 0; i < trailing; ++i) {
        if (!items_.at(i)->isEmpty()) {
            place(i, x);
            x += widths[static_cast<std::size_t>(i)] + spacing_;
        }
    }
    x = area.x() + area.width();
    for (int i = static_cast<int>(items_.size()) - 1; i >= trailing; --i) {
        if (!items_.at(i)->isEmpty()) {
            x -= widths[static_cast<std::size_t>(i)];
            place(i, x);
            x -= spacing_;
        }
    }
}

} // namespace velmora
