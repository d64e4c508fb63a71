// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/JsonReader.h"

#include <string>

namespace velmora {

DecodeError DecodeFailure::error() const {
    std::string path;
    for (auto it = reversedPath_.rbegin(); it != reversedPath_.rend(); ++it) {
        if (const auto* key = std::get_if<std::string>(&*it)) {
            if (!path.empty()) {
                path += '.';
            }
            path += *key;
        } else {
            path += '[' + std::to_string(std::get<std::size_t>(*it)) + ']';
        }
    }
    return DecodeError{std::move(path), reason_};
}

namespace detail {

namespace {
std::string describeNumber(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}
} // namespace

void failWrongType(std::string_view expected, const Json& got) {
    throw DecodeFailure("expected " + std::string(expected) + ", got " + got.type_name());
}

void failUnknownValue(const std::string& wire) {
    throw DecodeFailure("unknown value " +
                        Json(wire).dump(-1, ' ', false, Json::error_handler_t::replace));
}

void failNotInteger(const Json& got, std::string_view width) {
    throw DecodeFailure(describeNumber(got) + " is not an integer (" + std::string(width) + ")");
}

void failWidth(const Json& got, std::string_view width) {
    throw DecodeFailure(describeNumber(got) + " does not fit " + std::string(width));
}

} // namespace detail
} // namespace velmora
