// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The detail's own texts as codes and figures, sent beside the texts: the verdict's label and
// confidence, what each command to copy shows, the kept evidence and the diagnostics. The app
// composes its texts from these; a code this build does not know decodes as unknown and the
// monitor's text is shown instead.

#include "model/FindingCodes.h"
#include "model/JsonReader.h"
#include "model/OpenCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What a command to copy shows about the family's memory.
enum class CommandCode { growingProcessMemory, largestProcessMemory, largestMappings };

// One line of the diagnostics' evidence: how the footprint is measured, how many bucket medians
// the rate is judged from, and which of the family's processes the kernel would end first.
enum class DiagnosticEvidenceCode { footprintFormula, rateWindow, highestOomScore };

// One of the diagnostics' figures, by its label.
enum class MetricCode { footprint, growth, typical, score };

template <> struct EnumTable<CommandCode> {
    static constexpr std::array entries{
        std::pair{CommandCode::growingProcessMemory, std::string_view{"growingProcessMemory"}},
        std::pair{CommandCode::largestProcessMemory, std::string_view{"largestProcessMemory"}},
        std::pair{CommandCode::largestMappings, std::string_view{"largestMappings"}},
    };
};

template <> struct EnumTable<DiagnosticEvidenceCode> {
    static constexpr std::array entries{
        std::pair{DiagnosticEvidenceCode::footprintFormula, std::string_view{"footprintFormula"}},
        std::pair{DiagnosticEvidenceCode::rateWindow, std::string_view{"rateWindow"}},
        std::pair{DiagnosticEvidenceCode::highestOomScore, std::string_view{"highestOomScore"}},
    };
};

template <> struct EnumTable<MetricCode> {
    static constexpr std::array entries{
        std::pair{MetricCode::footprint, std::string_view{"footprint"}},
        std::pair{MetricCode::growth, std::string_view{"growth"}},
        std::pair{MetricCode::typical, std::string_view{"typical"}},
        std::pair{MetricCode::score, std::string_view{"score"}},
    };
};

// The verdict block's label and confidence; `ended` stands for the block of a family whose
// processes are all gone (its title, label, confidence and explanation).
struct VerdictCodes {
    std::optional<OpenCode<FindingVerdict>> verdict{};
    std::optional<OpenCode<ConfidenceLevel>> confidence{};
    std::optional<int64_t> score{};
    bool ended = false;

    bool operator==(const VerdictCodes&) const = default;
};

// The kept evidence: how many processes it covers (none: all of the family's), when it was
// captured (seconds since the epoch), where it is kept (a name, shown as sent) and its size in
// bytes.
struct ArtifactCodes {
    std::optional<int64_t> processCount{};
    std::optional<double> capturedAt{};
    std::optional<std::string> path{};
    std::optional<double> bytes{};

    bool operator==(const ArtifactCodes&) const = default;
};

// One process of the diagnostics' identity lines.
struct MemberIdentityCodes {
    int64_t pid = 0;
    std::string name;
    double footprintKiB = 0;
    bool growing = false;
    bool isProtected = false;
    std::string cmdline; // as the system reports it, cut to 200 characters

    bool operator==(const MemberIdentityCodes&) const = default;
};

// The diagnostics, each list one for one with its text lines.
struct DiagnosticsCodes {
    std::vector<MemberIdentityCodes> identities;
    std::vector<Coded<DiagnosticEvidenceCode>> evidence; // count, or pid, name and score
    // rateKiBPerSecond (absent before one is measured), footprintKiB, typicalKiB or score
    std::vector<Coded<MetricCode>> metrics;

    bool operator==(const DiagnosticsCodes&) const = default;
};

VerdictCodes decodeRecord(const Json& json, std::type_identity<VerdictCodes>);
Json encodeRecord(const VerdictCodes& value);
ArtifactCodes decodeRecord(const Json& json, std::type_identity<ArtifactCodes>);
Json encodeRecord(const ArtifactCodes& value);
MemberIdentityCodes decodeRecord(const Json& json, std::type_identity<MemberIdentityCodes>);
Json encodeRecord(const MemberIdentityCodes& value);
DiagnosticsCodes decodeRecord(const Json& json, std::type_identity<DiagnosticsCodes>);
Json encodeRecord(const DiagnosticsCodes& value);

} // namespace velmora
