// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The relief plan's texts as codes and figures, sent beside them: its headline, its summary's
// sentences, the pressure it answers, how much it aims to free and gives back, and why each
// candidate is on it. The app composes its texts from these; a code this build does not know
// decodes as unknown and the monitor's text is shown instead.

#include "model/FindingCodes.h"
#include "model/HistoryCodes.h"
#include "model/JsonReader.h"
#include "model/OpenCode.h"
#include "model/StatusCodes.h"

#include <cstdint>
#include <optional>

namespace velmora {

// What the plan's headline says: memory runs out soon, is getting tight, or must be freed now.
enum class ReliefHeadlineCode { runsOut, gettingTight, freeNow };

// The plan's advice in its summary: quit the recommended apps, or there is nothing to quit.
enum class ReliefAdviceCode { quitRecommended, nothingToQuit };

// How much the plan aims to free: a size to get back to the target headroom, or none since the
// headroom is back above it.
enum class ReliefTargetCode { freeToTarget, backAboveTarget };

// Why a candidate is on the plan: it grows as a leak suspect, or it is simply large.
enum class ReliefCandidateCode { suspect, largest };

template <> struct EnumTable<ReliefHeadlineCode> {
    static constexpr std::array entries{
        std::pair{ReliefHeadlineCode::runsOut, std::string_view{"runsOut"}},
        std::pair{ReliefHeadlineCode::gettingTight, std::string_view{"gettingTight"}},
        std::pair{ReliefHeadlineCode::freeNow, std::string_view{"freeNow"}},
    };
};

template <> struct EnumTable<ReliefAdviceCode> {
    static constexpr std::array entries{
        std::pair{ReliefAdviceCode::quitRecommended, std::string_view{"quitRecommended"}},
        std::pair{ReliefAdviceCode::nothingToQuit, std::string_view{"nothingToQuit"}},
    };
};

template <> struct EnumTable<ReliefTargetCode> {
    static constexpr std::array entries{
        std::pair{ReliefTargetCode::freeToTarget, std::string_view{"freeToTarget"}},
        std::pair{ReliefTargetCode::backAboveTarget, std::string_view{"backAboveTarget"}},
    };
};

template <> struct EnumTable<ReliefCandidateCode> {
    static constexpr std::array entries{
        std::pair{ReliefCandidateCode::suspect, std::string_view{"suspect"}},
        std::pair{ReliefCandidateCode::largest, std::string_view{"largest"}},
    };
};

// The plan's texts as codes; each present one stands for its text. The summary is made of the
// sentences whose codes are present, in this order: when memory runs out (exhaustionSeconds),
// the advice, who is ended first, which daemon acts and how many kills the machine has seen.
// Sizes in KiB, spans in seconds, shares as fractions of one.
struct ReliefCodes {
    std::optional<OpenCode<ReliefHeadlineCode>> headline{};
    // Seconds until memory runs out: the runsOut headline and the summary's first sentence.
    std::optional<double> exhaustionSeconds{};
    std::optional<OpenCode<ReliefAdviceCode>> advice{};
    std::optional<Coded<VictimCode>> firstVictim{};
    std::optional<KillerCodes> killer{};
    std::optional<int64_t> machineKills{}; // out-of-memory kills on the machine since boot
    std::optional<OpenCode<PressureCode>> pressure{};
    std::optional<OpenCode<ReliefTargetCode>> target{};
    std::optional<double> targetFraction{}; // the headroom the plan aims for
    std::optional<double> freeKiB{};        // freeToTarget: what it takes to get there
    std::optional<double> reclaimKiB{};     // what quitting the recommended apps gives back

    bool operator==(const ReliefCodes&) const = default;
};

// A candidate's texts as codes: its footprint, and its detail, which for a suspect carries its
// verdict and growth rate (none when not measured); endedFirst adds that the kernel would end
// it first.
struct ReliefCandidateCodes {
    std::optional<double> footprintKiB{};
    std::optional<OpenCode<ReliefCandidateCode>> reason{};
    std::optional<OpenCode<FindingVerdict>> verdict{};
    std::optional<double> rateKiBPerSecond{};
    std::optional<bool> endedFirst{};

    bool operator==(const ReliefCandidateCodes&) const = default;
};

ReliefCodes decodeRecord(const Json& json, std::type_identity<ReliefCodes>);
Json encodeRecord(const ReliefCodes& value);
ReliefCandidateCodes decodeRecord(const Json& json, std::type_identity<ReliefCandidateCodes>);
Json encodeRecord(const ReliefCandidateCodes& value);

} // namespace velmora
