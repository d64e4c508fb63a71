// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/RuntimeOptions.h"
#include "app/selfcheck/SmokeSummary.h"

#include <iostream>
#include <string_view>

namespace velmora {

// Writes the one result line of a self-check: to the log file when the options name one
// (replacing its content atomically), else a success to standard output and a failure to
// standard error. A log file that cannot be written does not swallow the result: the line then
// goes to the stream it would otherwise have gone to.
class SmokeReporter {
public:
    static constexpr std::string_view successPrefix = "VELMORA_UI_SMOKE_OK";

    explicit SmokeReporter(std::ostream& out = std::cout, std::ostream& err = std::cerr)
        : out_(out), err_(err) {}

    void emitSmokeLine(const RuntimeOptions& options, std::string_view prefix,
                       const SmokeSummary& summary, std::string_view fallbackMessage);
    void emitSuccess(const RuntimeOptions& options, const PopoverSnapshot& snapshot,
                     bool menuBarButtonPresent, bool popoverShown);
    void emitSuccess(const RuntimeOptions& options, const SmokeSummary& summary);
    void emitFailure(const RuntimeOptions& options, std::string_view message);

private:
    void writeLine(const RuntimeOptions& options, const std::string& line, std::ostream& stream);

    std::ostream& out_;
    std::ostream& err_;
};

} // namespace velmora
