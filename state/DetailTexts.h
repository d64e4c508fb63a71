// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The detail's texts as shown: composed from the monitor's codes, in English word for word as
// the monitor writes them, or the monitor's own text where the codes do not say it (an older
// monitor, the demo scenarios, a code this build does not know, lists that do not line up).

// The page's title: the family's name, or "No longer running" once its processes are gone.
std::string detailTitleShown(const DetailSnapshot& detail);
// "Probable leak", "Ended".
std::string verdictLabelShown(const VerdictBlock& verdict);
// "High confidence · score 72", "Not sampled".
std::string verdictConfidenceShown(const VerdictBlock& verdict);

// What a command to copy shows: "Its largest anonymous mappings, …".
std::string commandExplanationShown(const NextCommandDescriptor& command);

// The kept evidence's title, body and reason ("Captured 14:05 for editor"); `family` is the
// detail's title and `nowSeconds` the wall clock, which decides whether the day is named.
std::string artifactTitleShown(const ArtifactBoundaryBlock& block);
std::string artifactBodyShown(const ArtifactBoundaryBlock& block);
std::string artifactReasonShown(const ArtifactBoundaryBlock& block, const std::string& family,
                                double nowSeconds);
// Its path, as sent, and its size.
std::vector<std::string> artifactMetaLinesShown(const ArtifactBoundaryBlock& block);

// "14:05" for a moment today, "3 Mar 14:05" for one on another day, in local time.
std::string momentText(double unixSeconds, double nowSeconds);

// The diagnostics' lines and figures.
std::vector<std::string> identityLinesShown(const DiagnosticsBlock& block);
std::vector<std::string> evidenceLinesShown(const DiagnosticsBlock& block);
std::vector<DiagnosticMetric> metricsShown(const DiagnosticsBlock& block);

} // namespace velmora
