// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <cstddef>
#include <list>

namespace velmora {

// The blurred shadows painted lately, so that a surface repainted with the same geometry
// reuses its shadow instead of rasterising and blurring it again. Bounded by the bytes of
// the images it holds: the least recently used go first, and an image larger than the whole
// budget is kept alone. A shadow is identified by its shape (moved to the origin of the
// shadow's own picture), colour, blur radius and pixel ratio.
class ShadowCache {
public:
    struct Key {
        QPainterPath shape;
        QRgb color = 0;
        double radius = 0;
        double dpr = 1;

        bool operator==(const Key&) const = default;
    };

    static constexpr std::size_t defaultBudgetBytes = 1024 * 1024;

    explicit ShadowCache(std::size_t budgetBytes = defaultBudgetBytes) : budget_(budgetBytes) {}

    // The cached picture for `key` (made the most recent), or a null image.
    QImage find(const Key& key);
    void insert(Key key, QImage image);

    std::size_t size() const { return entries_.size(); }
    std::size_t bytes() const { return bytes_; }

    // The cache the painting helpers share (the GUI thread's).
    static ShadowCache& shared();

private:
    struct Entry {
        Key key;
        QImage image;
    };

    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::list<Entry> entries_; // most recent first
};

} // namespace velmora
