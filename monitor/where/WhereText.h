// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WhereCodes.h"
#include "monitor/where/LeakReport.h"

#include <string>
#include <vector>

namespace velmora {

// How long tracking ran or runs: "60 s" up to two minutes, "5 min" beyond.
std::string trackingSpan(double seconds);

// "leakyCacheInsert()" from "(anonymous namespace)::leakyCacheInsert(unsigned long)": the
// qualified name without its return type, parameters and anonymous namespaces.
std::string shortFunctionName(const std::string& function);

// What a site's line says, as codes and figures: where it is in plain words ("cache.cpp:5 in
// leakyCacheInsert()", "leakyCacheInsert() in libcache.so" without a source line,
// "0x7f3a… in libcache.so" without symbols) and what it kept.
WhereSiteCodes siteCodes(const LeakSite& site);

// "cache.cpp:5 in leakyCacheInsert() kept 19.1 MB over 73 calls", written from its codes.
std::string siteHeadline(const LeakSite& site);

// One frame of a stack on one line: "leakyCacheInsert(unsigned long) · cache.cpp:5 · app".
std::string frameLine(const StackFrame& frame);

// The frames from the site outwards, at most `limit` of them.
std::vector<std::string> siteStackLines(const LeakSite& site, std::size_t limit);

// The sites with their whole stacks (function, file:line, module), numbered, for a person to
// read or paste into a bug tracker.
std::string sitesText(const std::vector<LeakSite>& sites);

// "Tracked leak (PID 4242) for 60 s; 19.2 MB allocated meanwhile was not freed." and what
// happened on the way (it ended, tracking was stopped early).
std::string trackingSummary(const WhereReport& report);

// The whole report `velmora where` prints.
std::string whereReportText(const WhereReport& report, const std::string& recordingDisplay);

} // namespace velmora
