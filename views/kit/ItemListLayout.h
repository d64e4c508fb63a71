// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLayout>
#include <QList>

namespace velmora {

// A layout over a plain list of items that it owns: the bookkeeping the row layouts share.
// Subclasses place the items; they add widgets through addChildWidget and items_.
class ItemListLayout : public QLayout {
public:
    explicit ItemListLayout(QWidget* parent);
    ~ItemListLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

protected:
    // Called when the item at `index` has left the list, before the layout is invalidated.
    virtual void itemTaken(int index) { Q_UNUSED(index); }

    QList<QLayoutItem*> items_;
};

} // namespace velmora
