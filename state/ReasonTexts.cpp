// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ReasonTexts.h"

#include "base/AgoText.h"
#include "base/DurationText.h"
#include "base/SizeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmora {
namespace {

using Text = std::optional<std::string>;

std::string rate(double kibPerSecond) {
    return rateText(kibPerSecond * 60.0 / 1024.0);
}

std::string percent(double fraction) {
    return std::to_string(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100))) +
           "%";
}

std::string multiple(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f\u00D7", value);
    return buf;
}

std::string ago(double seconds) {
    return agoText(static_cast<int64_t>(seconds), kFindingAgo);
}

// Each composition reads the figures it needs and gives none when one is missing.
Text rateSentence(const CodeFigures& f, const char* before, const char* after) {
    if (!f.rateKiBPerSecond) {
        return std::nullopt;
    }
    return before + rate(*f.rateKiBPerSecond) + after;
}

Text steadinessSentence(const CodeFigures& f, const char* before, const char* middle) {
    if (!f.fraction || !f.trend) {
        return std::nullopt;
    }
    return before + percent(*f.fraction) + middle + std::to_string(*f.trend) +
           "/100 (Mann-Kendall).";
}

Text growingMember(const CodeFigures& f) {
    if (!f.pid || !f.count) {
        return std::nullopt;
    }
    const std::string name = f.name.value_or("");
    return "PID " + std::to_string(*f.pid) + (name.empty() ? "" : " (" + name + ")") +
           ", one of the family's " + std::to_string(*f.count) +
           " processes, is judged on its own: the others come and go and hide its growth in the "
           "family's total. Its own figures follow.";
}

Text stairs(const CodeFigures& f) {
    if (!f.count || !f.seconds || !f.rateKiBPerSecond) {
        return std::nullopt;
    }
    return "Memory grew in " + std::to_string(*f.count) + " steps over " + spanText(*f.seconds) +
           " and gave none of it back: " + rate(*f.rateKiBPerSecond) + " on average.";
}

Text sharedGrowth(const CodeFigures& f) {
    if (!f.growthKiB || !f.sharedKiB) {
        return std::nullopt;
    }
    return "The growth is in shared memory (memfd, /dev/shm): " + formatKiB(*f.growthKiB) +
           " more than when first seen, " + formatKiB(*f.sharedKiB) + " now.";
}

Text baseline(const CodeFigures& f) {
    if (!f.footprintKiB || !f.multiple || !f.typicalKiB) {
        return std::nullopt;
    }
    return "Now " + formatKiB(*f.footprintKiB) + ", " + multiple(*f.multiple) + " its typical " +
           formatKiB(*f.typicalKiB) + ".";
}

// The shape of a family's own growth, as its whole-family reason quotes it.
Text growthEvidence(const Coded<ReasonCode>& part) {
    const CodeFigures& f = part.figures;
    if (!part.code.known || !f.rateKiBPerSecond || !f.seconds) {
        return std::nullopt;
    }
    const std::string grew = rate(*f.rateKiBPerSecond) + " over " + spanText(*f.seconds);
    std::string text;
    switch (*part.code.known) {
    case ReasonCode::stairs:
        if (!f.count) {
            return std::nullopt;
        }
        return "Grew in " + std::to_string(*f.count) + " steps over " + spanText(*f.seconds) +
               " (" + rate(*f.rateKiBPerSecond) + "), none of it given back";
    case ReasonCode::sawtoothFloor:
        if (!f.fraction) {
            return std::nullopt;
        }
        text = "Floor (low points after releases) grew " + grew + ", higher in " +
               percent(*f.fraction) + " of stretches";
        break;
    case ReasonCode::medianRate:
        if (!f.fraction) {
            return std::nullopt;
        }
        text = "Median grew " + grew + ", " + percent(*f.fraction) + " of steps rising";
        break;
    default:
        return std::nullopt;
    }
    if (f.stoppedSeconds) {
        text += "; growth stopped " + ago(*f.stoppedSeconds);
    }
    return text;
}

Text familyAsWhole(const CodeFigures& f) {
    if (f.parts.empty() || !f.footprintKiB || !f.verdict || !f.verdict->known) {
        return std::nullopt;
    }
    const Text evidence = growthEvidence(f.parts.front());
    if (!evidence) {
        return std::nullopt;
    }
    return "The family as a whole: " + *evidence + "; now " + formatKiB(*f.footprintKiB) + " (" +
           verdictText(*f.verdict->known) + " on its own).";
}

} // namespace

std::string verdictText(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        return "Normal";
    case FindingVerdict::watch:
        return "Watch";
    case FindingVerdict::suspect:
        return "Suspected leak";
    case FindingVerdict::probable:
        return "Probable leak";
    case FindingVerdict::criticalRunaway:
        return "Critical runaway";
    }
    return "Normal";
}

std::optional<std::string> reasonText(const Coded<ReasonCode>& reason) {
    if (!reason.code.known) {
        return std::nullopt;
    }
    const CodeFigures& f = reason.figures;
    switch (*reason.code.known) {
    case ReasonCode::notEnoughSamples:
        return "Not enough samples yet to measure a growth rate.";
    case ReasonCode::growingMember:
        return growingMember(f);
    case ReasonCode::stairs:
        return stairs(f);
    case ReasonCode::sawtoothFloor:
        return rateSentence(f,
                            "Memory is released again and again (a sawtooth): judged by its "
                            "floor, the low points after each release, which changes by ",
                            ".");
    case ReasonCode::floorSteadiness:
        return steadinessSentence(f, "The floor was higher in ",
                                  " of the window's stretches; trend strength ");
    case ReasonCode::medianRate:
        return rateSentence(f, "Footprint (anonymous memory, swap and shared memory) changes by ",
                            " (Theil-Sen slope of bucket medians).");
    case ReasonCode::medianSteadiness:
        return steadinessSentence(f, "", " of bucket-to-bucket steps rose; trend strength ");
    case ReasonCode::sharedGrowth:
        return sharedGrowth(f);
    case ReasonCode::sharedPart:
        return f.sharedKiB ? Text(formatKiB(*f.sharedKiB) + " of the footprint is shared memory.")
                           : std::nullopt;
    case ReasonCode::growthStopped:
        return f.seconds ? Text("Growth stopped " + ago(*f.seconds) +
                                ": memory that levels off is a warm-up or a cache, not a leak.")
                         : std::nullopt;
    case ReasonCode::young:
        return "The family is new: growth in its first minutes (a warm-up) needs more evidence "
               "before it counts as a leak.";
    case ReasonCode::revisited:
        return "It has been this large before and came back down: a working set moving within "
               "its range.";
    case ReasonCode::decelerating:
        return "Growth keeps slowing down, as a warm-up does before it levels off.";
    case ReasonCode::oneStep:
        return "The rise came in one step rather than a ramp, which is rarely a leak.";
    case ReasonCode::allocateAndFree:
        return "Memory rises and falls again (allocate and free), not a steady climb.";
    case ReasonCode::hourRate:
        return rateSentence(f, "Over the last hour: ", ".");
    case ReasonCode::sixHourRate:
        return rateSentence(f, "Over the last six hours: ", ".");
    case ReasonCode::baseline:
        return baseline(f);
    case ReasonCode::idle:
        return "It stayed elevated while idle: memory rose while CPU time barely moved.";
    case ReasonCode::exhaustion:
        return f.seconds ? Text("Memory runs out in " + durationText(*f.seconds) + " at this rate.")
                         : std::nullopt;
    case ReasonCode::familyAsWhole:
        return familyAsWhole(f);
    case ReasonCode::endedFirst:
        return (f.seconds ? "Memory runs out in " + durationText(*f.seconds) + " at this rate; then"
                          : std::string("If memory runs out,")) +
               " the kernel ends one of this app's processes first.";
    case ReasonCode::exited:
        return "Its processes exited or were quit since the row was shown.";
    }
    return std::nullopt;
}

std::vector<std::string> reasonTexts(const std::vector<Coded<ReasonCode>>& codes,
                                     const std::vector<std::string>& texts) {
    if (codes.size() != texts.size()) {
        return texts;
    }
    std::vector<std::string> out;
    out.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out.push_back(reasonText(codes[i]).value_or(texts[i]));
    }
    return out;
}

} // namespace velmora
