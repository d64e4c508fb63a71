// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ActionTexts.h"

#include "base/ClockText.h"
#include "base/Translate.h"
#include "state/LocalFigures.h"
#include "state/WhereTexts.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

using Text = std::optional<std::string>;

Text number(const std::optional<int64_t>& value) {
    return value ? Text(std::to_string(*value)) : std::nullopt;
}

// How long a tracking runs: seconds up to two minutes, then a span ("90 s", "5 min").
std::string trackingSpan(double seconds) {
    if (seconds >= 120) {
        return localSpan(seconds);
    }
    //: A span of seconds, as in "90 s".
    return withArguments(translate("ActionTexts", "%1 s"),
                         {std::to_string(std::lround(std::max(seconds, 0.0)))});
}

std::string namedProcess(const std::optional<std::string>& name, int64_t pid) {
    const std::string id = std::to_string(pid);
    if (!name || name->empty()) {
        //: A process by its id alone.
        return withArguments(translate("ActionTexts", "PID %1"), {id});
    }
    //: A process by its name and id: "worker (PID 4242)".
    return withArguments(translate("ActionTexts", "%1 (PID %2)"), {*name, id});
}

// What remains of a tracking under way: "45 s left", "2 min 5 s left".
std::string countdownText(double seconds) {
    const int left = static_cast<int>(std::ceil(std::max(0.0, seconds)));
    if (left < 60) {
        //: What remains of a heap tracking under way, in seconds.
        return withArguments(translate("ActionTexts", "%1 s left"), {std::to_string(left)});
    }
    //: What remains of a heap tracking under way, in minutes and seconds.
    return withArguments(translate("ActionTexts", "%1 min %2 s left"),
                         {std::to_string(left / 60), std::to_string(left % 60)});
}

Text localFigure(ActionFigure figure, const ActionFigures& f) {
    switch (figure) {
    case ActionFigure::name:
        return f.name;
    case ActionFigure::process:
        return f.pid ? Text(namedProcess(f.process, *f.pid)) : std::nullopt;
    case ActionFigure::pid:
        return number(f.pid);
    case ActionFigure::count:
        return number(f.count);
    case ActionFigure::total:
        return number(f.total);
    case ActionFigure::size:
        return f.footprintKiB ? Text(localSize(*f.footprintKiB)) : std::nullopt;
    case ActionFigure::span:
        return f.seconds ? Text(trackingSpan(*f.seconds)) : std::nullopt;
    case ActionFigure::clock:
        return f.atSeconds ? Text(clockText(*f.atSeconds)) : std::nullopt;
    case ActionFigure::path:
        return f.path;
    case ActionFigure::detail:
        return f.detail;
    case ActionFigure::moreDetail:
        return f.moreDetail;
    case ActionFigure::countdown:
        return f.secondsLeft ? Text(countdownText(*f.secondsLeft)) : std::nullopt;
    }
    return std::nullopt;
}

// The pattern of a known code in the person's language, filled with the local figures.
template <WireEnum E> Text composed(const ActionCoded<E>& coded, ActionPattern (*patternOf)(E)) {
    if (!coded.code.known) {
        return std::nullopt;
    }
    return patternText(patternOf(*coded.code.known), coded.figures);
}

template <class T, class Compose>
std::string shown(const std::optional<T>& codes, const std::string& sent, Compose compose) {
    if (!codes) {
        return sent;
    }
    return compose(*codes).value_or(sent);
}

} // namespace

std::optional<std::string> patternText(const ActionPattern& pattern, const ActionFigures& figures) {
    return fillPattern(translate(pattern.context, pattern.text), pattern, figures, localFigure);
}

std::optional<std::string> actionLabelText(const ActionLabelCodes& label) {
    return composed(label, &labelPattern);
}

std::optional<std::string> confirmationTitleText(const ConfirmationCodes& confirmation) {
    return composed(confirmation, &confirmationTitlePattern);
}

std::optional<std::string> confirmationMessageText(const ConfirmationCodes& confirmation) {
    if (!confirmation.code.known) {
        return std::nullopt;
    }
    return patternText(confirmationMessagePattern(*confirmation.code.known, confirmation.figures),
                       confirmation.figures);
}

std::optional<std::string> feedbackTitleText(const FeedbackCodes& feedback) {
    return composed(feedback, &feedbackTitlePattern);
}

std::optional<std::string> feedbackMessageText(const FeedbackCodes& feedback) {
    return composed(feedback, &feedbackMessagePattern);
}

std::string actionLabelShown(const ActionDescriptor& action) {
    return shown(action.labelCode, action.label, actionLabelText);
}

std::string confirmationTitleShown(const DestructiveConfirmationSnapshot& confirmation) {
    return shown(confirmation.codes, confirmation.title, confirmationTitleText);
}

std::string confirmationMessageShown(const DestructiveConfirmationSnapshot& confirmation) {
    return shown(confirmation.codes, confirmation.message, confirmationMessageText);
}

std::string feedbackTitleShown(const ActionFeedbackSnapshot& feedback) {
    return shown(feedback.codes, feedback.title, feedbackTitleText);
}

std::string feedbackMessageShown(const ActionFeedbackSnapshot& feedback) {
    if (auto reason = whereFailureText(feedback.whereFailure)) {
        return *reason;
    }
    return shown(feedback.codes, feedback.message, feedbackMessageText);
}

} // namespace velmora
