// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The field helpers every record decoder and encoder calls. The decoding rules live here once:
//
// - required<T>(key): the key must be present with a value of the right type;
// - defaulted<T>(key, fallback): a missing key or null gives the fallback (a value, or a
//   callable that makes it, evaluated only when needed);
// - optional<T>(key): a missing key or null gives none;
// - a present value of the wrong type fails in every mode; unknown keys are ignored;
// - integers must fit their width; a number written with a fraction part of zero (5.0) is an
//   integer, since some JSON producers write every number as a double.
//
// A failure throws DecodeFailure, which each enclosing field and list element extends with its
// own path segment while it unwinds; the path text is only built once, at the top, on failure.

#include "model/DecodeError.h"
#include "model/Json.h"
#include "model/WireEnum.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace velmora {

// Internal failure of a decode; the public API turns it into a DecodeError.
class DecodeFailure {
public:
    explicit DecodeFailure(std::string reason) : reason_(std::move(reason)) {}

    void prependKey(std::string_view key) { reversedPath_.emplace_back(std::string(key)); }
    void prependIndex(std::size_t index) { reversedPath_.emplace_back(index); }

    DecodeError error() const;

private:
    std::string reason_;
    std::vector<std::variant<std::string, std::size_t>> reversedPath_;
};

namespace detail {
[[noreturn]] void failWrongType(std::string_view expected, const Json& got);
[[noreturn]] void failUnknownValue(const std::string& wire);
[[noreturn]] void failNotInteger(const Json& got, std::string_view width);
[[noreturn]] void failWidth(const Json& got, std::string_view width);
} // namespace detail

// Codec<T>::decode / Codec<T>::encode. Specialised below for strings, booleans, numbers,
// lists and wire enumerations; records go through decodeRecord/encodeRecord overloads that
// each record's .cpp file defines (declared in model/Codec.h).
template <class T, class = void> struct Codec {
    static T decode(const Json& json) { return decodeRecord(json, std::type_identity<T>{}); }
    static Json encode(const T& value) { return encodeRecord(value); }
};

template <> struct Codec<std::string> {
    static std::string decode(const Json& json) {
        if (!json.is_string()) {
            detail::failWrongType("string", json);
        }
        return json.get_ref<const std::string&>();
    }
    static Json encode(const std::string& value) { return value; }
};

template <> struct Codec<bool> {
    static bool decode(const Json& json) {
        if (!json.is_boolean()) {
            detail::failWrongType("boolean", json);
        }
        return json.get<bool>();
    }
    static Json encode(bool value) { return value; }
};

template <> struct Codec<double> {
    static double decode(const Json& json) {
        if (!json.is_number()) {
            detail::failWrongType("number", json);
        }
        return json.get<double>();
    }
    static Json encode(double value) { return value; }
};

template <class T> constexpr std::string_view integerWidthName() {
    if constexpr (std::is_same_v<T, uint64_t>) {
        return "uint64";
    } else if constexpr (std::is_same_v<T, int64_t>) {
        return "int64";
    } else if constexpr (std::is_same_v<T, uint32_t>) {
        return "uint32";
    } else {
        static_assert(std::is_same_v<T, uint16_t>, "unsupported integer width");
        return "uint16";
    }
}

template <class T>
struct Codec<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
    static T decode(const Json& json) {
        constexpr auto width = integerWidthName<T>();
        using Limits = std::numeric_limits<T>;
        switch (json.type()) {
        case Json::value_t::number_unsigned: {
            const auto value = json.get_ref<const Json::number_unsigned_t&>();
            if (value > static_cast<uint64_t>(Limits::max())) {
                detail::failWidth(json, width);
            }
            return static_cast<T>(value);
        }
        case Json::value_t::number_integer: {
            const auto value = json.get_ref<const Json::number_integer_t&>();
            if constexpr (Limits::is_signed) {
                return static_cast<T>(value); // int64 holds every signed JSON integer
            } else {
                if (value < 0 || static_cast<uint64_t>(value) > Limits::max()) {
                    detail::failWidth(json, width);
                }
                return static_cast<T>(value);
            }
        }
        case Json::value_t::number_float:
            return fromDouble(json, width);
        default:
            detail::failWrongType(width, json);
        }
    }
    static Json encode(T value) { return value; }

private:
    static T fromDouble(const Json& json, std::string_view width) {
        const double value = json.get_ref<const Json::number_float_t&>();
        if (!std::isfinite(value) || std::trunc(value) != value) {
            detail::failNotInteger(json, width);
        }
        // Limits as doubles: min is exact, max + 1 is a power of two and exact too.
        constexpr double lowest = static_cast<double>(std::numeric_limits<T>::min());
        constexpr double pastMax = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2.0;
        if (value < lowest || value >= pastMax) {
            detail::failWidth(json, width);
        }
        return static_cast<T>(value);
    }
};

template <WireEnum E> struct Codec<E> {
    static E decode(const Json& json) {
        if (!json.is_string()) {
            detail::failWrongType("string", json);
        }
        const auto& wire = json.get_ref<const std::string&>();
        if (auto value = fromWire<E>(wire)) {
            return *value;
        }
        detail::failUnknownValue(wire);
    }
    static Json encode(E value) { return std::string(toWire(value)); }
};

template <class T> struct Codec<std::vector<T>> {
    static std::vector<T> decode(const Json& json) {
        if (!json.is_array()) {
            detail::failWrongType("array", json);
        }
        std::vector<T> out;
        out.reserve(json.size());
        std::size_t index = 0;
        for (const auto& element : json) {
            try {
                out.push_back(Codec<T>::decode(element));
            } catch (DecodeFailure& failure) {
                failure.prependIndex(index);
                throw;
            }
            ++index;
        }
        return out;
    }
    static Json encode(const std::vector<T>& values) {
        Json out = Json::array();
        out.get_ref<Json::array_t&>().reserve(values.size());
        for (const auto& value : values) {
            out.push_back(Codec<T>::encode(value));
        }
        return out;
    }
};

// Reads the fields of one JSON object. Construction fails unless the value is an object.
class ObjectReader {
public:
    explicit ObjectReader(const Json& json) : object_(json) {
        if (!json.is_object()) {
            detail::failWrongType("object", json);
        }
    }

    template <class T> T required(std::string_view key) const {
        const auto it = object_.find(key);
        if (it == object_.end()) {
            DecodeFailure failure("missing required key");
            failure.prependKey(key);
            throw failure;
        }
        return decodeField<T>(key, *it);
    }

    // `fallback` is a value convertible to T, or a callable returning one.
    template <class T, class Fallback>
    T defaulted(std::string_view key, Fallback&& fallback) const {
        const auto it = object_.find(key);
        if (it == object_.end() || it->is_null()) {
            if constexpr (std::is_invocable_v<Fallback>) {
                return static_cast<T>(std::forward<Fallback>(fallback)());
            } else {
                return static_cast<T>(std::forward<Fallback>(fallback));
            }
        }
        return decodeField<T>(key, *it);
    }

    template <class T> std::optional<T> optional(std::string_view key) const {
        const auto it = object_.find(key);
        if (it == object_.end() || it->is_null()) {
            return std::nullopt;
        }
        return decodeField<T>(key, *it);
    }

private:
    template <class T> static T decodeField(std::string_view key, const Json& value) {
        try {
            return Codec<T>::decode(value);
        } catch (DecodeFailure& failure) {
            failure.prependKey(key);
            throw;
        }
    }

    const Json& object_;
};

// Writes the fields of one JSON object: plain fields always, optional ones only when present.
class ObjectWriter {
public:
    template <class T> ObjectWriter& field(std::string_view key, const T& value) {
        object_.emplace(std::string(key), Codec<T>::encode(value));
        return *this;
    }
    template <class T> ObjectWriter& field(std::string_view key, const std::optional<T>& value) {
        if (value) {
            object_.emplace(std::string(key), Codec<T>::encode(*value));
        }
        return *this;
    }
    Json done() { return Json(std::move(object_)); }

private:
    Json::object_t object_;
};

} // namespace velmora
