// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WireEnum.h"

namespace velmora {

// The actions a finding offers, as the monitor names them on the wire. An ActionDescriptor
// carries the id as a string, so that a newer monitor's action is shown and sent back even
// by an older app; the ones both sides know are these.
enum class ActionId {
    selectDetail,
    dismissDetail,
    captureStrongerEvidence,
    openArtifactExternal,
    revealArtifact,
    copyArtifactPath,
    recover,
    restart,
    requestForceQuit,
    confirmForceQuit,
    cancelForceQuit,
    ignore,
    exportReport,
    copyCommand1,
    copyCommand2,
    findWhereItLeaks,
    confirmWhereItLeaks,
    cancelWhereItLeaks,
    stopWhereTracking,
    restartWithTracking,
    confirmRestartWithTracking,
    copyWhereReport,
    openWhereRecording,
    copyWhereCommand1,
    copyWhereCommand2,
    copyWhereCommand3,
};

template <> struct EnumTable<ActionId> {
    static constexpr std::array entries{
        std::pair{ActionId::selectDetail, std::string_view{"select_detail"}},
        std::pair{ActionId::dismissDetail, std::string_view{"dismiss_detail"}},
        std::pair{ActionId::captureStrongerEvidence, std::string_view{"capture_stronger_evidence"}},
        std::pair{ActionId::openArtifactExternal, std::string_view{"open_artifact_external"}},
        std::pair{ActionId::revealArtifact, std::string_view{"reveal_artifact"}},
        std::pair{ActionId::copyArtifactPath, std::string_view{"copy_artifact_path"}},
        std::pair{ActionId::recover, std::string_view{"recover"}},
        std::pair{ActionId::restart, std::string_view{"restart"}},
        std::pair{ActionId::requestForceQuit, std::string_view{"request_force_quit"}},
        std::pair{ActionId::confirmForceQuit, std::string_view{"confirm_force_quit"}},
        std::pair{ActionId::cancelForceQuit, std::string_view{"cancel_force_quit"}},
        std::pair{ActionId::ignore, std::string_view{"ignore"}},
        std::pair{ActionId::exportReport, std::string_view{"export_report"}},
        std::pair{ActionId::copyCommand1, std::string_view{"copy_command_1"}},
        std::pair{ActionId::copyCommand2, std::string_view{"copy_command_2"}},
        std::pair{ActionId::findWhereItLeaks, std::string_view{"find_where_it_leaks"}},
        std::pair{ActionId::confirmWhereItLeaks, std::string_view{"confirm_where_it_leaks"}},
        std::pair{ActionId::cancelWhereItLeaks, std::string_view{"cancel_where_it_leaks"}},
        std::pair{ActionId::stopWhereTracking, std::string_view{"stop_where_tracking"}},
        std::pair{ActionId::restartWithTracking, std::string_view{"restart_with_tracking"}},
        std::pair{ActionId::confirmRestartWithTracking,
                  std::string_view{"confirm_restart_with_tracking"}},
        std::pair{ActionId::copyWhereReport, std::string_view{"copy_where_report"}},
        std::pair{ActionId::openWhereRecording, std::string_view{"open_where_recording"}},
        std::pair{ActionId::copyWhereCommand1, std::string_view{"copy_where_command_1"}},
        std::pair{ActionId::copyWhereCommand2, std::string_view{"copy_where_command_2"}},
        std::pair{ActionId::copyWhereCommand3, std::string_view{"copy_where_command_3"}},
    };
};

} // namespace velmora
