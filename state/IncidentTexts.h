// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingCodes.h"

#include <optional>
#include <string>

namespace velmora {

// The incident card's lines composed from the monitor's codes and figures, in English word for
// word as the card shows the monitor's lines. Each gives none for a code this build does not
// know or whose figures are missing; the card then shows the monitor's own line.

// "Strong signal" for strongSignal, "Capturing evidence", "Action taken"...
std::string stageText(IncidentStage stage);

// "Probable leak at +8.2 MB/min"; "... at N/A" before a rate is measured.
std::optional<std::string> decisionText(const CodeFigures& decision);

// "Memory rises while the app is idle, typical of a leak".
std::optional<std::string> causeText(const OpenCode<CauseCode>& cause);

// "3 incidents in 30d; 1 critical; peak score 92", "Typical footprint 1.2 GB this session".
std::optional<std::string> historyText(const Coded<HistoryCode>& history);

// "48.0 MB more over 15 min".
std::optional<std::string> changeText(const CodeFigures& change);

// "Restart it gracefully to give the memory back".
std::optional<std::string> nextStepText(const OpenCode<NextStepCode>& step);

// "Firefox keeps growing", "Firefox is running away with memory".
std::optional<std::string> headlineText(const OpenCode<HeadlineCode>& headline,
                                        const std::string& title);

// "Holds 1.9 GB of anonymous memory and swap; Memory runs out in about 25 min at this rate".
std::optional<std::string> impactText(const CodeFigures& impact);

} // namespace velmora
