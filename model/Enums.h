// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WireEnum.h"

namespace velmora {

// Overall tone of the machine.
enum class SnapshotTone { allClear, watch, suspect, critical };

// Tone of one finding row.
enum class FindingSeverity { allClear, watch, suspect, critical };

// Verdict of one finding row.
enum class FindingVerdict { normal, watch, suspect, probable, criticalRunaway };

// Whether `verdict` is `floor` or graver.
constexpr bool atLeast(FindingVerdict verdict, FindingVerdict floor) {
    return static_cast<int>(verdict) >= static_cast<int>(floor);
}

// How pressing a relief plan is.
enum class ReliefUrgencyTone { advisory, actNow, critical };

// Outcome class of the latest user action.
enum class ActionFeedbackKind { success, warning, error };

// Storage budget of the monitor; a mode's identity is its wire string.
enum class SettingsStorageMode { low, balanced, deepInvestigation };

// How far the focused incident has progressed.
enum class IncidentStage {
    normal,
    watch,
    suspicious,
    strongSignal,
    evidenceRunning,
    evidenceCaptured,
    actionTaken
};

// Tone of a confidence step or attribution fact.
enum class IncidentConfidenceTone { neutral, watch, strong, evidence, outcome };

// Tone of a timeline item.
enum class TimelineTone { neutral, watch, evidence, action, outcome };

// Visual emphasis of an action button.
enum class ActionStyle { primary, warning, destructive, secondary };

template <> struct EnumTable<SnapshotTone> {
    static constexpr std::array entries{
        std::pair{SnapshotTone::allClear, std::string_view{"allClear"}},
        std::pair{SnapshotTone::watch, std::string_view{"watch"}},
        std::pair{SnapshotTone::suspect, std::string_view{"suspect"}},
        std::pair{SnapshotTone::critical, std::string_view{"critical"}},
    };
};

template <> struct EnumTable<FindingSeverity> {
    static constexpr std::array entries{
        std::pair{FindingSeverity::allClear, std::string_view{"allClear"}},
        std::pair{FindingSeverity::watch, std::string_view{"watch"}},
        std::pair{FindingSeverity::suspect, std::string_view{"suspect"}},
        std::pair{FindingSeverity::critical, std::string_view{"critical"}},
    };
};

template <> struct EnumTable<FindingVerdict> {
    static constexpr std::array entries{
        std::pair{FindingVerdict::normal, std::string_view{"normal"}},
        std::pair{FindingVerdict::watch, std::string_view{"watch"}},
        std::pair{FindingVerdict::suspect, std::string_view{"suspect"}},
        std::pair{FindingVerdict::probable, std::string_view{"probable"}},
        std::pair{FindingVerdict::criticalRunaway, std::string_view{"criticalRunaway"}},
    };
};

template <> struct EnumTable<ReliefUrgencyTone> {
    static constexpr std::array entries{
        std::pair{ReliefUrgencyTone::advisory, std::string_view{"advisory"}},
        std::pair{ReliefUrgencyTone::actNow, std::string_view{"actNow"}},
        std::pair{ReliefUrgencyTone::critical, std::string_view{"critical"}},
    };
};

template <> struct EnumTable<ActionFeedbackKind> {
    static constexpr std::array entries{
        std::pair{ActionFeedbackKind::success, std::string_view{"success"}},
        std::pair{ActionFeedbackKind::warning, std::string_view{"warning"}},
        std::pair{ActionFeedbackKind::error, std::string_view{"error"}},
    };
};

template <> struct EnumTable<SettingsStorageMode> {
    static constexpr std::array entries{
        std::pair{SettingsStorageMode::low, std::string_view{"low"}},
        std::pair{SettingsStorageMode::balanced, std::string_view{"balanced"}},
        std::pair{SettingsStorageMode::deepInvestigation, std::string_view{"deep_investigation"}},
    };
};

template <> struct EnumTable<IncidentStage> {
    static constexpr std::array entries{
        std::pair{IncidentStage::normal, std::string_view{"normal"}},
        std::pair{IncidentStage::watch, std::string_view{"watch"}},
        std::pair{IncidentStage::suspicious, std::string_view{"suspicious"}},
        std::pair{IncidentStage::strongSignal, std::string_view{"strongSignal"}},
        std::pair{IncidentStage::evidenceRunning, std::string_view{"evidenceRunning"}},
        std::pair{IncidentStage::evidenceCaptured, std::string_view{"evidenceCaptured"}},
        std::pair{IncidentStage::actionTaken, std::string_view{"actionTaken"}},
    };
};

template <> struct EnumTable<IncidentConfidenceTone> {
    static constexpr std::array entries{
        std::pair{IncidentConfidenceTone::neutral, std::string_view{"neutral"}},
        std::pair{IncidentConfidenceTone::watch, std::string_view{"watch"}},
        std::pair{IncidentConfidenceTone::strong, std::string_view{"strong"}},
        std::pair{IncidentConfidenceTone::evidence, std::string_view{"evidence"}},
        std::pair{IncidentConfidenceTone::outcome, std::string_view{"outcome"}},
    };
};

template <> struct EnumTable<TimelineTone> {
    static constexpr std::array entries{
        std::pair{TimelineTone::neutral, std::string_view{"neutral"}},
        std::pair{TimelineTone::watch, std::string_view{"watch"}},
        std::pair{TimelineTone::evidence, std::string_view{"evidence"}},
        std::pair{TimelineTone::action, std::string_view{"action"}},
        std::pair{TimelineTone::outcome, std::string_view{"outcome"}},
    };
};

template <> struct EnumTable<ActionStyle> {
    static constexpr std::array entries{
        std::pair{ActionStyle::primary, std::string_view{"primary"}},
        std::pair{ActionStyle::warning, std::string_view{"warning"}},
        std::pair{ActionStyle::destructive, std::string_view{"destructive"}},
        std::pair{ActionStyle::secondary, std::string_view{"secondary"}},
    };
};

} // namespace velmora
