// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Codec.h"

#include <gtest/gtest.h>

namespace velmora {

// `value` as the app receives it: encoded by the monitor and decoded again.
template <class T> T sent(const T& value) {
    auto decoded = decode<T>(encode(value));
    EXPECT_TRUE(decoded.ok()) << decoded.error().text();
    return decoded.ok() ? decoded.value() : T{};
}

} // namespace velmora
