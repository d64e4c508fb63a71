// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ItemListLayout.h"

namespace velmora {

ItemListLayout::ItemListLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
}

ItemListLayout::~ItemListLayout() {
    while (!items_.isEmpty()) {
        delete items_.takeLast();
    }
}

void ItemListLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

int ItemListLayout::count() const {
    return static_cast<int>(items_.size());
}

QLayoutItem* ItemListLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* ItemListLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size()) {
        return nullptr;
    }
    QLayoutItem* item = items_.takeAt(index);
    itemTaken(index);
    invalidate();
    return item;
}

} // namespace velmora
