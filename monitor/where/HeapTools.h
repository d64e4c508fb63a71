// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/where/LeakReport.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The programs heap tracking uses, found in PATH: heaptrack (its attach and preload script),
// heaptrack_print (reads a recording), gdb (heaptrack attaches through it) and heaptrack_gui
// (opens a recording; optional). A path is empty when the program is missing.
struct HeapTools {
    std::string heaptrack;
    std::string heaptrackPrint;
    std::string gdb;
    std::string heaptrackGui;
    // heaptrack's own parts beside its script, where `heaptrack` finds them: the reader of a
    // tracked process's stream, the library injected into a running process, the one preloaded
    // into a program started under tracking, and the helper that says how to load the injected
    // one. The compressor its recordings go through: zstd, else gzip.
    std::string interpreter;
    std::string injectLibrary;
    std::string preloadLibrary;
    std::string environmentChecker;
    std::string compressor;

    // Looks each program up in a PATH value ("/usr/bin:/bin"); $PATH by default.
    static HeapTools find();
    static HeapTools find(const std::string& searchPath);

    // The Debian packages to install before tracking can start: "heaptrack" (with its parts and a
    // compressor) and, to attach to a running process, "gdb". Empty when everything is there.
    std::vector<std::string> missingPackages(bool attach) const;
};

// Whether this gdb runs Python, which heaptrack's detaching needs here (gdb-minimal has none).
bool gdbRunsPython(const std::string& gdb);

// The first executable regular file called `name` in the directories of `searchPath`; empty
// when there is none.
std::string findInPath(const std::string& name, const std::string& searchPath);

// "Finding where memory grows needs heaptrack and gdb, which are not installed. Install the
// Debian packages: sudo apt install heaptrack gdb", naming only what is missing.
std::string missingToolsText(const std::vector<std::string>& packages);

// The refusal when packages are missing: that text, with the command that installs them.
WhereFailure notInstalledFailure(const std::vector<std::string>& packages);

} // namespace velmora
