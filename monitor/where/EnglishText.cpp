// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/EnglishText.h"

#include "monitor/common/Formatting.h"
#include "monitor/where/TraceAccess.h"
#include "monitor/where/WhereText.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// What remains of a tracking under way: "45 s left", "2 min 5 s left".
std::string countdown(double seconds) {
    int left = static_cast<int>(std::ceil(std::max(0.0, seconds)));
    if (left < 60) {
        return std::to_string(left) + " s left";
    }
    return std::to_string(left / 60) + " min " + std::to_string(left % 60) + " s left";
}

std::optional<std::string> englishFigure(ActionFigure figure, const ActionFigures& f) {
    auto number = [](const std::optional<int64_t>& value) -> std::optional<std::string> {
        return value ? std::optional(std::to_string(*value)) : std::nullopt;
    };
    switch (figure) {
    case ActionFigure::name:
        return f.name;
    case ActionFigure::process:
        return f.pid
                   ? std::optional(processLabel(f.process.value_or(""), static_cast<pid_t>(*f.pid)))
                   : std::nullopt;
    case ActionFigure::pid:
        return number(f.pid);
    case ActionFigure::count:
        return number(f.count);
    case ActionFigure::total:
        return number(f.total);
    case ActionFigure::size:
        return f.footprintKiB ? std::optional(formatKiB(*f.footprintKiB)) : std::nullopt;
    case ActionFigure::span:
        return f.seconds ? std::optional(trackingSpan(*f.seconds)) : std::nullopt;
    case ActionFigure::clock:
        return f.atSeconds ? std::optional(formatClock(*f.atSeconds)) : std::nullopt;
    case ActionFigure::path:
        return f.path;
    case ActionFigure::detail:
        return f.detail;
    case ActionFigure::moreDetail:
        return f.moreDetail;
    case ActionFigure::countdown:
        return f.secondsLeft ? std::optional(countdown(*f.secondsLeft)) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::string englishText(const ActionPattern& pattern, const ActionFigures& figures) {
    auto text = fillPattern(pattern.text, pattern, figures, englishFigure);
    return text ? *text : pattern.text;
}

} // namespace velmora
