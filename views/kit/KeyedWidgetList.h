// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBoxLayout>
#include <QWidget>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

// Keeps one child widget per item of a list inside a layout `L` (a box layout, or any layout
// with insertWidget(index, widget)), in the order of the items, matched to the items by
// identity. A refresh reuses the widget of every key it already shows (so a row keeps its
// widget, and its state, across a reorder), creates widgets only for new keys and deletes the
// widgets of keys that left. Repeated keys are told apart by their occurrence ("a", "a#1",
// ...). These widgets come first in the layout; only spacers or stretches may follow them.
template <class W, class L = QBoxLayout> class KeyedWidgetList {
public:
    explicit KeyedWidgetList(L* layout = nullptr) : layout_(layout) {}
    void attach(L* layout) { layout_ = layout; }
    KeyedWidgetList(const KeyedWidgetList&) = delete;
    KeyedWidgetList& operator=(const KeyedWidgetList&) = delete;

    // `key(item)` gives the identity, `make(item)` a new widget, `update(widget, item)` shows
    // the item in a (new or reused) widget.
    template <class Item, class KeyFn, class MakeFn, class UpdateFn>
    void reconcile(const std::vector<Item>& items, KeyFn key, MakeFn make, UpdateFn update) {
        std::vector<Entry> next;
        next.reserve(items.size());
        std::map<std::string, int> occurrences;
        for (const auto& item : items) {
            std::string itemKey = key(item);
            if (const int seen = occurrences[itemKey]++; seen > 0) {
                itemKey.append(1, '#').append(std::to_string(seen));
            }
            W* widget = take(itemKey);
            if (widget == nullptr) {
                widget = make(item);
            }
            update(*widget, item);
            next.push_back({std::move(itemKey), widget});
        }
        for (const auto& stale : entries_) {
            dispose(stale.widget);
        }
        entries_ = std::move(next);
        place();
    }

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    W* at(int index) const { return entries_.at(static_cast<std::size_t>(index)).widget; }

    W* find(const std::string& key) const {
        for (const auto& entry : entries_) {
            if (entry.key == key) {
                return entry.widget;
            }
        }
        return nullptr;
    }

    std::vector<W*> widgets() const {
        std::vector<W*> all;
        all.reserve(entries_.size());
        for (const auto& entry : entries_) {
            all.push_back(entry.widget);
        }
        return all;
    }

private:
    struct Entry {
        std::string key;
        W* widget;
    };

    W* take(const std::string& key) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->key == key) {
                W* widget = it->widget;
                entries_.erase(it);
                return widget;
            }
        }
        return nullptr;
    }

    // A widget may be torn down from inside its own signal (a tap whose answer arrives
    // synchronously), so it leaves the tree at once and is deleted later.
    void dispose(W* widget) {
        layout_->removeWidget(widget);
        widget->hide();
        widget->setParent(nullptr);
        widget->deleteLater();
    }

    void place() {
        for (int index = 0; index < size(); ++index) {
            W* widget = at(index);
            if (layout_->indexOf(widget) != index) {
                layout_->removeWidget(widget);
                layout_->insertWidget(index, widget);
            }
        }
    }

    L* layout_ = nullptr;
    std::vector<Entry> entries_;
};

} // namespace velmora
