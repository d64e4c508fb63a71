// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

namespace velmora {

// A fixed-capacity ring of compact values, oldest first.
template <class T> class RingBuffer {
public:
    explicit RingBuffer(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

    void push(T value) {
        if (values_.size() < capacity_) {
            if (values_.size() == values_.capacity()) {
                std::size_t grown = values_.size() < 8 ? 16 : values_.size() * 2;
                values_.reserve(grown < capacity_ ? grown : capacity_);
            }
            values_.push_back(value);
            return;
        }
        values_[head_] = value;
        head_ = (head_ + 1) % capacity_;
    }
    std::size_t size() const { return values_.size(); }
    bool empty() const { return values_.empty(); }
    std::size_t capacity() const { return capacity_; }
    // i = 0 is the oldest value held.
    const T& at(std::size_t i) const { return values_[(head_ + i) % values_.size()]; }
    const T& back() const { return at(values_.size() - 1); }
    // The newest `count` values (fewer when fewer are held), oldest first.
    std::vector<T> newest(std::size_t count) const {
        std::size_t n = count < values_.size() ? count : values_.size();
        std::vector<T> out;
        out.reserve(n);
        for (std::size_t i = values_.size() - n; i < values_.size(); ++i) {
            out.push_back(at(i));
        }
        return out;
    }
    std::size_t memoryBytes() const { return values_.capacity() * sizeof(T); }

private:
    std::size_t capacity_;
    std::size_t head_ = 0;
    std::vector<T> values_;
};

} // namespace velmora
