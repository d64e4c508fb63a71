// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/WrappingRowLayout.h"

#include <QWidget>
#include <algorithm>

namespace velmora {

WrappingRowLayout::WrappingRowLayout(int horizontalSpacing, int verticalSpacing, QWidget* parent)
    : ItemListLayout(parent), horizontal_(horizontalSpacing), vertical_(verticalSpacing) {}

void WrappingRowLayout::insertWidget(int index, QWidget* widget) {
    addChildWidget(widget);
    auto* item = new QWidgetItem(widget);
    items_.insert(std::clamp(index, 0, static_cast<int>(items_.size())), item);
    invalidate();
}

int WrappingRowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

QSize WrappingRowLayout::minimumSize() const {
    // Any item can start a line of its own; a line narrower than an item squeezes that item.
    QSize size;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            size = size.expandedTo(item->minimumSize());
        }
    }
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize WrappingRowLayout::sizeHint() const {
    int width = 0;
    int height = 0;
    int shown = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty()) {
            continue;
        }
        const QSize hint = item->sizeHint();
        width += hint.width() + (shown++ > 0 ? horizontal_ : 0);
        height = std::max(height, hint.height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

void WrappingRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int WrappingRowLayout::lineCount(int width) const {
    int lines = 0;
    arrange(QRect(0, 0, width, 0), false, &lines);
    return lines;
}

int WrappingRowLayout::arrange(const QRect& rect, bool apply, int* lines) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int right = area.x() + std::max(area.width(), 1);
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    int lineCount = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) {
            continue;
        }
        QSize size = item->sizeHint();
        size.setWidth(std::min(size.width(), std::max(area.width(), 1)));
        if (lineCount == 0) {
            lineCount = 1;
        } else if (x + size.width() > right && x > area.x()) {
            x = area.x();
            y += lineHeight + vertical_;
            lineHeight = 0;
            ++lineCount;
        }
        if (apply) {
            item->setGeometry(QRect(QPoint(x, y), size));
        }
        x += size.width() + horizontal_;
        lineHeight = std::max(lineHeight, size.height());
    }
    if (lines != nullptr) {
        *lines = lineCount;
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}

} // namespace velmora
