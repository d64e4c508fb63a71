// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/HeapTools.h"

#include "monitor/where/ToolProcess.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::string findInPath(const std::string& name, const std::string& searchPath) {
    if (name.empty() || name.find('/') != std::string::npos) {
        return {};
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        std::string directory = searchPath.substr(start, end - start);
        if (!directory.empty() && directory.front() == '/') {
            std::string candidate = directory + "/" + name;
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return {};
}

HeapTools HeapTools::find() {
    const char* path = std::getenv("PATH");
    return find(path != nullptr && *path != '\0' ? path : "/usr/local/bin:/usr/bin:/bin");
}

HeapTools HeapTools::find(const std::string& searchPath) {
    HeapTools tools;
    tools.heaptrack = findInPath("heaptrack", searchPath);
    tools.heaptrackPrint = findInPath("heaptrack_print", searchPath);
    tools.gdb = findInPath("gdb", searchPath);
    tools.heaptrackGui = findInPath("heaptrack_gui", searchPath);
    tools.compressor = findInPath("zstd", searchPath);
    if (tools.compressor.empty()) {
        tools.compressor = findInPath("gzip", searchPath);
    }
    if (!tools.heaptrack.empty()) {
        std::error_code error;
        auto parts =
            std::filesystem::canonical(tools.heaptrack, error).parent_path().parent_path() / "lib" /
            "heaptrack";
        auto existing = [](const std::filesystem::path& path) {
            std::error_code missing;
            return std::filesystem::is_regular_file(path, missing) ? path.string() : std::string();
        };
        tools.interpreter = existing(parts / "libexec" / "heaptrack_interpret");
        tools.environmentChecker = existing(parts / "libexec" / "heaptrack_env");
        tools.injectLibrary = existing(parts / "libheaptrack_inject.so");
        tools.preloadLibrary = existing(parts / "libheaptrack_preload.so");
    }
    return tools;
}

std::vector<std::string> HeapTools::missingPackages(bool attach) const {
    std::vector<std::string> packages;
    if (heaptrack.empty() || heaptrackPrint.empty() || compressor.empty() || interpreter.empty() ||
        (attach ? injectLibrary.empty() || environmentChecker.empty() : preloadLibrary.empty())) {
        packages.push_back("heaptrack");
    }
    if (attach && gdb.empty()) {
        packages.push_back("gdb");
    }
    return packages;
}

bool gdbRunsPython(const std::string& gdb) {
    ToolRun run =
        runTool(gdb, {"gdb", "--batch", "-n", "-ex", "python print('velmora-python')"}, 20);
    return run.output.find("velmora-python") != std::string::npos;
}

namespace {

std::string aptInstallCommand(const std::vector<std::string>& packages) {
    std::string command = "sudo apt install";
    for (const std::string& package : packages) {
        command += " " + package;
    }
    return command;
}

// The sentence that names the missing packages, with the command that installs them.
WhereFailure missingPackagesFailure(const std::vector<std::string>& packages) {
    const std::string command = aptInstallCommand(packages);
    if (packages.size() < 2) {
        return trackingFailure(
            "notInstalled", WhereFailureCode::packageMissing,
            {.name = packages.empty() ? std::string() : packages.front(), .detail = command});
    }
    std::string first;
    for (std::size_t i = 0; i + 1 < packages.size(); ++i) {
        first += (i == 0 ? "" : ", ") + packages[i];
    }
    return trackingFailure("notInstalled", WhereFailureCode::packagesMissing,
                           {.name = first, .detail = command, .moreDetail = packages.back()});
}

} // namespace

std::string missingToolsText(const std::vector<std::string>& packages) {
    return missingPackagesFailure(packages).message;
}

WhereFailure notInstalledFailure(const std::vector<std::string>& packages) {
    WhereFailure failure = missingPackagesFailure(packages);
    failure.commands = {
        suggestedCommand(aptInstallCommand(packages), WhereCommandCode::installPackages)};
    return failure;
}

} // namespace velmora
