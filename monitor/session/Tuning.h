// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Json.h"
#include "monitor/actions/ActionTuning.h"
#include "monitor/compose/ComposeTuning.h"
#include "monitor/live/SamplingTuning.h"
#include "monitor/scoring/ScoringTuning.h"

namespace velmora {

// Every stage's settings, read from the one flat "tuning" object of config.json; each stage is
// handed only its own part.
struct Tuning {
    SamplingTuning sampling;
    ScoringTuning scoring;
    ComposeTuning compose;
    ActionTuning actions;

    // Reads the known keys of a "tuning" object; missing, mistyped or out-of-range values keep
    // their defaults.
    static Tuning fromJson(const Json& object);
    bool operator==(const Tuning&) const = default;
};

} // namespace velmora
