// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "model/WhereItGrowsBlock.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The detail's heap tracking, composed from the monitor's codes through the catalogue: its
// status line ("Tracking worker (PID 4242) · 45 s left") or why tracking could not be done, its
// notes, its sites' lines and what the commands offered instead do. Each
// reads, under an English locale, as the monitor's own text. None for a code this build does not
// know or whose figures are missing.
std::optional<std::string> whereStatusText(const WhereStatusCodes& status);
std::optional<std::string> whereNoteText(const WhereNoteCodes& note);
// A site's line: "cache.cpp:5 in leakyCacheInsert() kept 19.1 MB over 73 calls".
std::optional<std::string> whereSiteText(const WhereSiteCodes& site);
// Why tracking could not be done, its sentences in order; none when there are none or one of
// them cannot be composed.
std::optional<std::string> whereFailureText(const std::vector<WhereFailureCodes>& sentences);
// What a command offered instead does: "Sets the kernel's rule back."
std::optional<std::string> whereCommandText(const WhereCommandCodes& command);

// As shown: composed from the codes where there are some, else the monitor's text.
std::string whereStatusShown(const WhereItGrowsBlock& block);
std::vector<std::string> whereNotesShown(const WhereItGrowsBlock& block);
// The sites' lines, in the order of the sites.
std::vector<std::string> whereSitesShown(const WhereItGrowsBlock& block);
// The commands offered instead, each with its explanation as shown.
std::vector<NextCommandDescriptor> whereCommandsShown(const WhereItGrowsBlock& block);

} // namespace velmora
