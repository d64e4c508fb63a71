// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DecodeError.h"

#include <utility>
#include <variant>

namespace velmora {

// The outcome of a decode: a value, or the DecodeError that says where and why it failed.
template <class T> class Decoded {
public:
    Decoded(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Decoded(DecodeError error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Precondition: ok(). Reading the value of a failure throws std::bad_variant_access.
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }

    // Precondition: !ok().
    const DecodeError& error() const { return std::get<1>(state_); }

private:
    std::variant<T, DecodeError> state_;
};

} // namespace velmora
