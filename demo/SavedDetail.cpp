// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/SavedDetail.h"

#include "model/Codec.h"

namespace velmora {

namespace {

// The record under `key` of `document`, an error's path starting at that key.
template <class T> Decoded<T> decodeAt(const Json& document, const std::string& key) {
    auto value = decode<T>(document.at(key));
    if (!value) {
        DecodeError error = value.error();
        error.path = key + (error.path.empty() ? "" : "." + error.path);
        return error;
    }
    return value;
}

} // namespace

Decoded<PopoverSnapshot> savedDetailSnapshot(std::string_view text) {
    auto parsed = parseJsonText(text);
    if (!parsed) {
        return parsed.error();
    }
    const Json& document = parsed.value();
    if (!document.is_object() || !document.contains("selectedDetail")) {
        return DecodeError{"selectedDetail", "missing"};
    }
    auto detail = decodeAt<DetailSnapshot>(document, "selectedDetail");
    if (!detail) {
        return detail.error();
    }
    PopoverSnapshot snapshot;
    if (document.contains("snapshot")) {
        auto rest = decodeAt<PopoverSnapshot>(document, "snapshot");
        if (!rest) {
            return rest.error();
        }
        snapshot = std::move(rest).value();
    }
    snapshot.selectedDetail = std::move(detail).value();
    return snapshot;
}

} // namespace velmora
