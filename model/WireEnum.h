// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmora {

// Every enumeration that travels on the wire specialises EnumTable with one table of
// (case, wire string) pairs in declaration order:
//
//   template <> struct EnumTable<ActionStyle> {
//       static constexpr std::array entries{std::pair{ActionStyle::primary,
//       std::string_view{"primary"}}, ...};
//   };
//
// Decoding, encoding and iteration all read that one table.
template <class E> struct EnumTable;

template <class E>
concept WireEnum = std::is_enum_v<E> && requires {
    EnumTable<E>::entries;
};

namespace detail {
template <class E> constexpr bool tableFollowsDeclarationOrder() {
    const auto& entries = EnumTable<E>::entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (static_cast<std::size_t>(entries[i].first) != i) {
            return false;
        }
    }
    return true;
}
} // namespace detail

template <WireEnum E> constexpr std::string_view toWire(E value) {
    static_assert(detail::tableFollowsDeclarationOrder<E>(),
                  "an enum table must list every case once, in declaration order");
    const auto& entries = EnumTable<E>::entries;
    const auto index = static_cast<std::size_t>(value);
    return index < entries.size() ? entries[index].second : std::string_view{};
}

// The case whose wire string is exactly `wire`; none for any other string.
template <WireEnum E> constexpr std::optional<E> fromWire(std::string_view wire) {
    for (const auto& [value, text] : EnumTable<E>::entries) {
        if (text == wire) {
            return value;
        }
    }
    return std::nullopt;
}

// Every case, in declaration order.
template <WireEnum E> const std::vector<E>& allCases() {
    static const std::vector<E> cases = [] {
        std::vector<E> out;
        for (const auto& entry : EnumTable<E>::entries) {
            out.push_back(entry.first);
        }
        return out;
    }();
    return cases;
}

} // namespace velmora
