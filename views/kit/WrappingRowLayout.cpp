// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/WrappingRowLayout.h"

#include <QBoxLayout>
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

void WrappingRowLayout::setFloor(Floor floor) {
    floor_ = std::move(floor);
    invalidate();
}

int WrappingRowLayout::breakingWidth(const QLayoutItem& item, int rowWidth) const {
    const int preferred = item.sizeHint().width();
    const QWidget* widget = item.widget();
    const int width =
        floor_ && widget != nullptr ? std::min(floor_(*widget), preferred) : preferred;
    return std::min(width, rowWidth);
}

int WrappingRowLayout::arrange(const QRect& rect, bool apply, int* lines) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int rowWidth = std::max(area.width(), 1);
    const int right = area.x() + rowWidth;
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    int lineCount = 0;
    QList<QLayoutItem*> line;
    const auto endLine = [&] {
        if (apply && !line.isEmpty()) {
            placeLine(line, QRect(area.x(), y, rowWidth, lineHeight));
        }
        line.clear();
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) {
            continue;
        }
        const int width = breakingWidth(*item, rowWidth);
        if (lineCount == 0) {
            lineCount = 1;
        } else if (x + width > right && x > area.x()) {
            endLine();
            x = area.x();
            y += lineHeight + vertical_;
            lineHeight = 0;
            ++lineCount;
        }
        line.append(item);
        x += width + horizontal_;
        lineHeight = std::max(lineHeight, item->sizeHint().height());
    }
    endLine();
    if (lines != nullptr) {
        *lines = lineCount;
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}

namespace {

// An item of a line as a box layout sees it, placing the item it stands for.
class LineItem : public QLayoutItem {
public:
    explicit LineItem(QLayoutItem* item) : item_(item) {}

    QSize sizeHint() const override { return item_->sizeHint(); }
    QSize minimumSize() const override { return item_->minimumSize(); }
    QSize maximumSize() const override { return item_->maximumSize(); }
    Qt::Orientations expandingDirections() const override { return item_->expandingDirections(); }
    bool isEmpty() const override { return item_->isEmpty(); }
    void setGeometry(const QRect& rect) override { item_->setGeometry(rect); }
    QRect geometry() const override { return item_->geometry(); }

private:
    QLayoutItem* item_;
};

} // namespace

void WrappingRowLayout::placeLine(const QList<QLayoutItem*>& line, const QRect& rect) const {
    if (!floor_) {
        int x = rect.x();
        for (QLayoutItem* item : line) {
            QSize size = item->sizeHint();
            size.setWidth(std::min(size.width(), rect.width()));
            item->setGeometry(QRect(QPoint(x, rect.y()), size));
            x += size.width() + horizontal_;
        }
        return;
    }
    // The box layout's own arithmetic, so that a line reads as one.
    QHBoxLayout row;
    row.setContentsMargins(0, 0, 0, 0);
    row.setSpacing(horizontal_);
    for (QLayoutItem* item : line) {
        row.addItem(new LineItem(item));
    }
    row.addStretch(1);
    row.setGeometry(rect);
}

} // namespace velmora
