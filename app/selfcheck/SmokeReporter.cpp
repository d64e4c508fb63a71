// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selfcheck/SmokeReporter.h"

#include "base/AtomicFile.h"

#include <exception>

namespace velmora {

void SmokeReporter::emitSmokeLine(const RuntimeOptions& options, std::string_view prefix,
                                  const SmokeSummary& summary, std::string_view fallbackMessage) {
    std::string line;
    try {
        line = std::string(prefix) + " " + summary.encode();
    } catch (const std::exception&) {
        line = std::string(fallbackMessage);
    }
    writeLine(options, line, out_);
}

void SmokeReporter::emitSuccess(const RuntimeOptions& options, const PopoverSnapshot& snapshot,
                                bool menuBarButtonPresent, bool popoverShown) {
    emitSuccess(options, SmokeSummary::from(snapshot, menuBarButtonPresent, popoverShown));
}

void SmokeReporter::emitSuccess(const RuntimeOptions& options, const SmokeSummary& summary) {
    emitSmokeLine(options, successPrefix, summary, successPrefix);
}

void SmokeReporter::emitFailure(const RuntimeOptions& options, std::string_view message) {
    writeLine(options, std::string(message), err_);
}

void SmokeReporter::writeLine(const RuntimeOptions& options, const std::string& line,
                              std::ostream& stream) {
    if (options.smokeLogPath) {
        const auto failed = writeFileAtomically(*options.smokeLogPath, line + "\n", 0644);
        if (!failed) {
            return;
        }
        err_ << "velmora-ui: cannot write the smoke log: " << failed->message << '\n';
    }
    stream << line << '\n';
    stream.flush();
    err_.flush();
}

} // namespace velmora
