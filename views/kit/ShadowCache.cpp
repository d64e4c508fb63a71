// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ShadowCache.h"

namespace velmora {

namespace {

std::size_t costOf(const QImage& image) {
    return static_cast<std::size_t>(image.sizeInBytes());
}

} // namespace

QImage ShadowCache::find(const Key& key) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->key == key) {
            entries_.splice(entries_.begin(), entries_, it);
            return entries_.front().image;
        }
    }
    return {};
}

void ShadowCache::insert(Key key, QImage image) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->key == key) {
            bytes_ -= costOf(it->image);
            entries_.erase(it);
            break;
        }
    }
    bytes_ += costOf(image);
    entries_.push_front({std::move(key), std::move(image)});
    while (entries_.size() > 1 && bytes_ > budget_) {
        bytes_ -= costOf(entries_.back().image);
        entries_.pop_back();
    }
}

ShadowCache& ShadowCache::shared() {
    static ShadowCache cache;
    return cache;
}

} // namespace velmora
