// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RuntimeOptions.h"

#include <algorithm>
#include <charconv>
#include <unistd.h>

namespace velmora {
namespace {

class OptionReader {
public:
    OptionReader(const std::vector<std::string>& arguments, const Environment& environment)
        : arguments_(arguments), environment_(environment) {}

    bool flag(const std::string& form, const std::string& variable) const {
        if (std::find(arguments_.begin(), arguments_.end(), form) != arguments_.end()) {
            return true;
        }
        const auto found = environment_.find(variable);
        return found != environment_.end() && found->second == "1";
    }

    std::optional<std::string> argumentValue(const std::string& form) const {
        const auto found = std::find(arguments_.begin(), arguments_.end(), form);
        if (found == arguments_.end() || std::next(found) == arguments_.end()) {
            return std::nullopt;
        }
        return *std::next(found);
    }

    std::optional<std::string> environmentValue(const std::string& variable) const {
        const auto found = environment_.find(variable);
        if (found == environment_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    std::optional<std::string> value(const std::string& form, const std::string& variable) const {
        if (auto fromArgument = argumentValue(form)) {
            return fromArgument;
        }
        return environmentValue(variable);
    }

    std::optional<int32_t> integer(const std::string& form, const std::string& variable) const {
        if (const auto fromArgument = argumentValue(form)) {
            if (const auto pid = parseProcessID(*fromArgument)) {
                return pid;
            }
        }
        if (const auto fromEnvironment = environmentValue(variable)) {
            return parseProcessID(*fromEnvironment);
        }
        return std::nullopt;
    }

private:
    const std::vector<std::string>& arguments_;
    const Environment& environment_;
};

} // namespace

std::optional<int32_t> parseProcessID(const std::string& text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    // Parse with the sign so that the most negative value fits.
    std::string signedText(negative ? "-" : "");
    signedText.append(digits);
    int32_t value = 0;
    const auto [end, error] =
        std::from_chars(signedText.data(), signedText.data() + signedText.size(), value);
    if (error != std::errc() || end != signedText.data() + signedText.size()) {
        return std::nullopt;
    }
    return value;
}

RuntimeOptions RuntimeOptions::parse(const std::vector<std::string>& arguments,
                                     const Environment& environment) {
    const OptionReader read(arguments, environment);
    RuntimeOptions options;
    options.isSmokeTest = read.flag("--smoke-test", "VELMORA_UI_SMOKE_TEST");
    options.smokeHome = read.value("--smoke-home", "VELMORA_UI_SMOKE_HOME");
    if (const auto logPath = read.value("--smoke-log", "VELMORA_UI_SMOKE_LOG")) {
        options.smokeLogPath = std::filesystem::path(*logPath);
    }
    options.demoArtifactBoundary =
        read.flag("--demo-artifact-boundary", "VELMORA_UI_DEMO_ARTIFACT_BOUNDARY");
    options.demoDetailRouting =
        read.flag("--demo-detail-routing", "VELMORA_UI_DEMO_DETAIL_ROUTING");
    options.interactiveMenuSmoke =
        read.flag("--interactive-menu-smoke", "VELMORA_UI_INTERACTIVE_MENU_SMOKE");
    options.advancedHistorySmoke =
        read.flag("--advanced-history-smoke", "VELMORA_UI_ADVANCED_HISTORY_SMOKE");
    options.exportFeedbackSmoke =
        read.flag("--export-feedback-smoke", "VELMORA_UI_EXPORT_FEEDBACK_SMOKE");
    options.recoveryFeedbackSmoke =
        read.flag("--recovery-feedback-smoke", "VELMORA_UI_RECOVERY_FEEDBACK_SMOKE");
    options.restartFeedbackSmoke =
        read.flag("--restart-feedback-smoke", "VELMORA_UI_RESTART_FEEDBACK_SMOKE");
    options.restartFeedbackTargetKey =
        read.value("--restart-feedback-target-key", "VELMORA_UI_RESTART_FEEDBACK_TARGET_KEY");
    options.recoverySmokePID =
        read.integer("--recovery-smoke-pid", "VELMORA_UI_RECOVERY_SMOKE_PID");
    options.soakDriveSeconds =
        read.integer("--soak-drive-seconds", "VELMORA_UI_SOAK_DRIVE_SECONDS");
    return options;
}

const RuntimeOptions& RuntimeOptions::current(const std::vector<std::string>& arguments) {
    static const RuntimeOptions options = parse(arguments, processEnvironment());
    return options;
}

Environment RuntimeOptions::backendEnvironment() const {
    if (!smokeHome) {
        return {};
    }
    return {{"HOME", *smokeHome}};
}

} // namespace velmora
