// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/ProgramVersion.h"

#include "monitor/common/DisplayText.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/ToolProcess.h"

#include <cstdlib>

namespace velmora {
namespace {

// "firefox-esr: /usr/lib/firefox-esr/firefox-esr" (or "pkg:amd64: path") -> "firefox-esr".
std::string owningPackage(const std::string& dpkgQuery, const std::string& path) {
    ToolRun run = runTool(dpkgQuery, {"dpkg-query", "--search", path}, 5);
    if (!exitedCleanly(run.status)) {
        return {};
    }
    std::size_t end = run.output.find(": ");
    if (end == std::string::npos || run.output.find('\n') < end) {
        return {};
    }
    std::string package = run.output.substr(0, end);
    if (std::size_t colon = package.find(':'); colon != std::string::npos) {
        package.resize(colon);
    }
    return package.find_first_of(" ,") == std::string::npos ? package : std::string();
}

} // namespace

std::string packageVersionOf(const std::string& programPath) {
    const char* searchPath = std::getenv("PATH");
    std::string dpkgQuery =
        findInPath("dpkg-query", searchPath != nullptr ? searchPath : "/usr/bin:/bin");
    if (dpkgQuery.empty() || programPath.empty() || programPath.front() != '/') {
        return {};
    }
    std::string package = owningPackage(dpkgQuery, programPath);
    if (package.empty() && programPath.rfind("/usr/", 0) == 0) {
        package = owningPackage(dpkgQuery, programPath.substr(4)); // merged /usr
    }
    if (package.empty()) {
        return {};
    }
    ToolRun run =
        runTool(dpkgQuery, {"dpkg-query", "--show", "--showformat=${Version}", package}, 5);
    if (!exitedCleanly(run.status) || run.output.empty() ||
        run.output.find('\n') != std::string::npos) {
        return {};
    }
    return displayText(package + " " + run.output, 200);
}

} // namespace velmora
