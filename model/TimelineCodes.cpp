// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TimelineCodes.h"

#include "base/Translate.h"

#include <array>

namespace velmora {
namespace {

constexpr const char* kContext = "TimelineEvents";

using F = ActionFigure;
constexpr std::array kNameOnly{F::name};
constexpr std::array kPathOnly{F::path};
constexpr std::array kDetailOnly{F::detail};
constexpr std::array kTracking{F::process, F::span};

} // namespace

ActionPattern timelineEventTitlePattern(TimelineEventCode code) {
    using C = TimelineEventCode;
    switch (code) {
    case C::recovered:
        //: A timeline entry: the app quit when asked and gave its memory back.
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Recovered"), {}};
    case C::quitRequested:
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Quit requested"), {}};
    case C::restarted:
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Restarted"), {}};
    case C::forceQuitCompleted:
    case C::forceQuitIncomplete:
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Force quit"), {}};
    case C::evidenceCaptured:
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Evidence captured"), {}};
    case C::trackingAttached:
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Heap tracking"), {}};
    case C::restartedUnderTracking:
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Restarted under tracking"), {}};
    case C::whereItGrows:
    case C::whereNoSite:
        //: A timeline entry: what heap tracking found about where the memory grows.
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "Where it grows"), {}};
    }
    return {kContext, "", {}};
}

ActionPattern timelineEventDetailPattern(TimelineEventCode code) {
    using C = TimelineEventCode;
    switch (code) {
    case C::recovered:
        return feedbackMessagePattern(FeedbackCode::recoveryCompleted);
    case C::quitRequested:
        //: %1 is the app's name.
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "%1 was asked to quit."),
                kNameOnly};
    case C::restarted:
        return feedbackMessagePattern(FeedbackCode::restartCompleted);
    case C::forceQuitCompleted:
        return feedbackMessagePattern(FeedbackCode::forceQuitCompleted);
    case C::forceQuitIncomplete:
        return feedbackMessagePattern(FeedbackCode::forceQuitIncomplete);
    case C::evidenceCaptured:
        // The file the evidence was written to.
        return {kContext, "%1", kPathOnly};
    case C::trackingAttached:
        //: heaptrack is a program's name; %1 is a process ("worker (PID 4242)"), %2 a span.
        return {kContext,
                VELMORA_TRANSLATE_NOOP("TimelineEvents", "heaptrack attached to %1 for %2"),
                kTracking};
    case C::restartedUnderTracking:
        //: heaptrack is a program's name; %1 is the app's name.
        return {kContext, VELMORA_TRANSLATE_NOOP("TimelineEvents", "%1 restarted under heaptrack"),
                kNameOnly};
    case C::whereItGrows:
        // The top allocation site, in heap tracking's own words.
        return {kContext, "%1", kDetailOnly};
    case C::whereNoSite:
        return {kContext,
                VELMORA_TRANSLATE_NOOP("TimelineEvents",
                                       "No allocation site kept memory while it was tracked."),
                {}};
    }
    return {kContext, "", {}};
}

} // namespace velmora
