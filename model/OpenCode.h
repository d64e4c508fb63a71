// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/JsonReader.h"
#include "model/WireEnum.h"

#include <optional>
#include <string>

namespace velmora {

// A code from a vocabulary that grows with the monitor. A string this build does not know is
// not an error: it decodes as unknown (none in `known`) and keeps its wire text, so the reader
// shows the monitor's own text instead. A value that is not a string still fails.
template <WireEnum E> struct OpenCode {
    std::optional<E> known;
    std::string wire;

    OpenCode() = default;
    OpenCode(E value) : known(value), wire(toWire(value)) {} // NOLINT: a code is its case
    static OpenCode unknown(std::string wireText) {
        OpenCode code;
        code.wire = std::move(wireText);
        return code;
    }

    bool operator==(const OpenCode&) const = default;
};

template <WireEnum E> struct Codec<OpenCode<E>> {
    static OpenCode<E> decode(const Json& json) {
        std::string wire = Codec<std::string>::decode(json);
        if (auto value = fromWire<E>(wire)) {
            return *value;
        }
        return OpenCode<E>::unknown(std::move(wire));
    }
    static Json encode(const OpenCode<E>& value) { return value.wire; }
};

// The known case of an optional code, none when it is absent or unknown.
template <WireEnum E> std::optional<E> knownCode(const std::optional<OpenCode<E>>& code) {
    return code ? code->known : std::nullopt;
}

} // namespace velmora
