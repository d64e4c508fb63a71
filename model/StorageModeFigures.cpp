// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/StorageModeFigures.h"

#include <array>
#include <cstddef>

namespace velmora {

const StorageModeFigures& storageModeFigures(SettingsStorageMode mode) {
    static constexpr std::array<StorageModeFigures, 3> kFigures{{
        {7, 3, 3, 30, 128, 64, 24},
        {30, 14, 7, 60, 512, 384, 48},
        {90, 30, 14, 120, 2048, 1536, 192},
    }};
    return kFigures.at(static_cast<std::size_t>(mode));
}

} // namespace velmora
