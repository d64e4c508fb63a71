// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DecodeError.h"

namespace velmora {

std::string DecodeError::text() const {
    return path.empty() ? reason : path + ": " + reason;
}

} // namespace velmora
