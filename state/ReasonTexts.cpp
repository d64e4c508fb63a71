// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ReasonTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"
#include "state/SummaryTexts.h"

#include <algorithm>

namespace velmora {
namespace {

using Text = std::optional<std::string>;

std::string whole(int64_t value) {
    return std::to_string(value);
}

std::string findingAgo(double seconds) {
    return localAgo(static_cast<int64_t>(seconds), kFindingAgo);
}

// Each composition reads the figures it needs and gives none when one is missing.
Text withRate(const CodeFigures& f, const std::string& pattern) {
    if (!f.rateKiBPerSecond) {
        return std::nullopt;
    }
    return withArguments(pattern, {localRate(*f.rateKiBPerSecond)});
}

// %1 is the share of rising steps, %2 the trend strength.
Text withSteadiness(const CodeFigures& f, const std::string& pattern) {
    if (!f.fraction || !f.trend) {
        return std::nullopt;
    }
    return withArguments(pattern, {localPercent(*f.fraction), whole(*f.trend)});
}

Text growingMember(const CodeFigures& f) {
    if (!f.pid || !f.count) {
        return std::nullopt;
    }
    const std::string member = processText(*f.pid, f.name.value_or(""));
    const int processes = pluralCount(*f.count);
    //: %1 is a process ("PID 4242 (worker)"), %n the number of the family's processes.
    return withArguments(
        translate("ReasonTexts",
                  "%1, one of the family's %n processes, is judged on its own: the others come "
                  "and go and hide its growth in the family's total. Its own figures follow.",
                  nullptr, processes),
        {member});
}

Text stairs(const CodeFigures& f) {
    if (!f.count || !f.seconds || !f.rateKiBPerSecond) {
        return std::nullopt;
    }
    const int steps = pluralCount(*f.count);
    //: %n steps, over %1 (a span, "47 min"), at %2 (a rate, "+0.4 MB/min").
    return withArguments(translate("ReasonTexts",
                                   "Memory grew in %n steps over %1 and gave none of it back: %2 "
                                   "on average.",
                                   nullptr, steps),
                         {localSpan(*f.seconds), localRate(*f.rateKiBPerSecond)});
}

Text sharedGrowth(const CodeFigures& f) {
    if (!f.growthKiB || !f.sharedKiB) {
        return std::nullopt;
    }
    //: %1 is how much the shared memory grew, %2 how much there is now.
    return withArguments(translate("ReasonTexts",
                                   "The growth is in shared memory (memfd, "
                                   "/dev/shm): %1 more than when first seen, %2 now."),
                         {localSize(*f.growthKiB), localSize(*f.sharedKiB)});
}

Text baseline(const CodeFigures& f) {
    if (!f.footprintKiB || !f.multiple || !f.typicalKiB) {
        return std::nullopt;
    }
    //: %1 is the footprint now, %2 how many times its typical size %3, as in "2.7×".
    return withArguments(
        translate("ReasonTexts", "Now %1, %2 its typical %3."),
        {localSize(*f.footprintKiB), localMultiple(*f.multiple), localSize(*f.typicalKiB)});
}

} // namespace

std::optional<std::string> growthShapeText(const Coded<ReasonCode>& part) {
    const CodeFigures& f = part.figures;
    if (!part.code.known || !f.rateKiBPerSecond || !f.seconds) {
        return std::nullopt;
    }
    const std::string rate = localRate(*f.rateKiBPerSecond);
    const std::string span = localSpan(*f.seconds);
    std::string text;
    switch (*part.code.known) {
    case ReasonCode::stairs: {
        if (!f.count) {
            return std::nullopt;
        }
        const int steps = pluralCount(*f.count);
        //: %n steps over %1 (a span), at %2 (a rate).
        return withArguments(translate("ReasonTexts",
                                       "Grew in %n steps over %1 (%2), none of it given back",
                                       nullptr, steps),
                             {span, rate});
    }
    case ReasonCode::sawtoothFloor:
        if (!f.fraction) {
            return std::nullopt;
        }
        //: %1 is a rate, %2 a span, %3 a share of stretches, as in "83%".
        text = withArguments(translate("ReasonTexts", "Floor (low points after releases) grew %1 "
                                                      "over %2, higher in %3 of stretches"),
                             {rate, span, localPercent(*f.fraction)});
        break;
    case ReasonCode::medianRate:
        if (!f.fraction) {
            return std::nullopt;
        }
        //: %1 is a rate, %2 a span, %3 a share of steps, as in "83%".
        text = withArguments(translate("ReasonTexts", "Median grew %1 over %2, %3 of steps rising"),
                             {rate, span, localPercent(*f.fraction)});
        break;
    default:
        return std::nullopt;
    }
    if (f.stoppedSeconds) {
        //: Added to the growth's shape: %1 is the growth, %2 when it stopped ("7 min ago").
        text = withArguments(translate("ReasonTexts", "%1; growth stopped %2"),
                             {text, findingAgo(*f.stoppedSeconds)});
    }
    return text;
}

std::string processText(int64_t pid, const std::string& name) {
    if (name.empty()) {
        return withArguments(translate("ReasonTexts", "PID %1"), {whole(pid)});
    }
    //: A process: its number and its name, as in "PID 4242 (worker)".
    return withArguments(translate("ReasonTexts", "PID %1 (%2)"), {whole(pid), name});
}

namespace {

Text familyAsWhole(const CodeFigures& f) {
    if (f.parts.empty() || !f.footprintKiB || !f.verdict || !f.verdict->known) {
        return std::nullopt;
    }
    const Text evidence = growthShapeText(f.parts.front());
    if (!evidence) {
        return std::nullopt;
    }
    //: %1 is the shape of the family's growth, %2 its footprint now, %3 its verdict on its own.
    return withArguments(translate("ReasonTexts", "The family as a whole: %1; now %2 (%3 on its "
                                                  "own)."),
                         {*evidence, localSize(*f.footprintKiB), verdictText(*f.verdict->known)});
}

Text endedFirst(const CodeFigures& f) {
    if (f.seconds) {
        //: %1 is an estimate, as in "about 25 min".
        return withArguments(translate("ReasonTexts",
                                       "Memory runs out in %1 at this rate; then the kernel ends "
                                       "one of this app's processes first."),
                             {localEstimate(*f.seconds)});
    }
    return translate("ReasonTexts",
                     "If memory runs out, the kernel ends one of this app's processes first.");
}

} // namespace

std::string verdictText(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        //: A verdict on an application's memory.
        return translate("Verdict", "Normal");
    case FindingVerdict::watch:
        //: A verdict on an application's memory: worth watching.
        return translate("Verdict", "Watch");
    case FindingVerdict::suspect:
        return translate("Verdict", "Suspected leak");
    case FindingVerdict::probable:
        return translate("Verdict", "Probable leak");
    case FindingVerdict::criticalRunaway:
        return translate("Verdict", "Critical runaway");
    }
    return translate("Verdict", "Normal");
}

std::optional<std::string> reasonText(const Coded<ReasonCode>& reason) {
    if (!reason.code.known) {
        return std::nullopt;
    }
    const CodeFigures& f = reason.figures;
    switch (*reason.code.known) {
    case ReasonCode::notEnoughSamples:
        return translate("ReasonTexts", "Not enough samples yet to measure a growth rate.");
    case ReasonCode::growingMember:
        return growingMember(f);
    case ReasonCode::stairs:
        return stairs(f);
    case ReasonCode::sawtoothFloor:
        //: %1 is a rate, as in "+8.0 MB/min".
        return withRate(f, translate("ReasonTexts",
                                     "Memory is released again and again (a sawtooth): judged by "
                                     "its floor, the low points after each release, which changes "
                                     "by %1."));
    case ReasonCode::floorSteadiness:
        //: %1 is a share, as in "83%"; %2 a trend strength from 0 to 100.
        return withSteadiness(f, translate("ReasonTexts",
                                           "The floor was higher in %1 of the window's stretches; "
                                           "trend strength %2/100 (Mann-Kendall)."));
    case ReasonCode::medianRate:
        //: %1 is a rate, as in "+8.0 MB/min".
        return withRate(f, translate("ReasonTexts",
                                     "Footprint (anonymous memory, swap and shared memory) changes "
                                     "by %1 (Theil-Sen slope of bucket medians)."));
    case ReasonCode::medianSteadiness:
        //: %1 is a share, as in "83%"; %2 a trend strength from 0 to 100.
        return withSteadiness(f, translate("ReasonTexts",
                                           "%1 of bucket-to-bucket steps rose; trend strength "
                                           "%2/100 (Mann-Kendall)."));
    case ReasonCode::sharedGrowth:
        return sharedGrowth(f);
    case ReasonCode::sharedPart:
        if (!f.sharedKiB) {
            return std::nullopt;
        }
        //: %1 is a size, as in "600.0 MB".
        return withArguments(translate("ReasonTexts", "%1 of the footprint is shared memory."),
                             {localSize(*f.sharedKiB)});
    case ReasonCode::growthStopped:
        if (!f.seconds) {
            return std::nullopt;
        }
        //: %1 is when, as in "7 min ago".
        return withArguments(translate("ReasonTexts", "Growth stopped %1: memory that levels off "
                                                      "is a warm-up or a cache, not a leak."),
                             {findingAgo(*f.seconds)});
    case ReasonCode::young:
        return translate("ReasonTexts",
                         "The family is new: growth in its first minutes (a warm-up) needs more "
                         "evidence before it counts as a leak.");
    case ReasonCode::revisited:
        return translate("ReasonTexts", "It has been this large before and came back down: a "
                                        "working set moving within its range.");
    case ReasonCode::decelerating:
        return translate("ReasonTexts",
                         "Growth keeps slowing down, as a warm-up does before it levels off.");
    case ReasonCode::oneStep:
        return translate("ReasonTexts",
                         "The rise came in one step rather than a ramp, which is rarely a leak.");
    case ReasonCode::allocateAndFree:
        return translate("ReasonTexts",
                         "Memory rises and falls again (allocate and free), not a steady climb.");
    case ReasonCode::hourRate:
        //: %1 is a rate, as in "+2.4 MB/min".
        return withRate(f, translate("ReasonTexts", "Over the last hour: %1."));
    case ReasonCode::sixHourRate:
        //: %1 is a rate, as in "+2.4 MB/min".
        return withRate(f, translate("ReasonTexts", "Over the last six hours: %1."));
    case ReasonCode::baseline:
        return baseline(f);
    case ReasonCode::idle:
        return translate("ReasonTexts",
                         "It stayed elevated while idle: memory rose while CPU time barely moved.");
    case ReasonCode::exhaustion:
        if (!f.seconds) {
            return std::nullopt;
        }
        //: %1 is an estimate, as in "about 2 h 25 min".
        return withArguments(translate("ReasonTexts", "Memory runs out in %1 at this rate."),
                             {localEstimate(*f.seconds)});
    case ReasonCode::familyAsWhole:
        return familyAsWhole(f);
    case ReasonCode::endedFirst:
        return endedFirst(f);
    case ReasonCode::exited:
        return translate("ReasonTexts",
                         "Its processes exited or were quit since the row was shown.");
    case ReasonCode::collectingSamples:
    case ReasonCode::growthSummary:
    case ReasonCode::memberGrowthSummary:
    case ReasonCode::selfCheckTarget:
        return summaryText(reason);
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
