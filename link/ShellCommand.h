// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WireEnum.h"

namespace velmora {

// The application-level commands of the footer and menus, carried out by the backend.
enum class ShellCommand { exportReport, openDataFolder, openSettings, quit };

template <> struct EnumTable<ShellCommand> {
    static constexpr std::array entries{
        std::pair{ShellCommand::exportReport, std::string_view{"export_report"}},
        std::pair{ShellCommand::openDataFolder, std::string_view{"open_data_folder"}},
        std::pair{ShellCommand::openSettings, std::string_view{"open_settings"}},
        std::pair{ShellCommand::quit, std::string_view{"quit"}},
    };
};

} // namespace velmora
