// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/LeakReport.h"

#include "model/JsonReader.h"
#include "monitor/where/EnglishText.h"
#include "monitor/where/WhereText.h"

namespace velmora {

const StackFrame* LeakSite::site() const {
    if (stack.empty()) {
        return nullptr;
    }
    return &stack[siteFrame < stack.size() ? siteFrame : 0];
}

WhereFailure trackingFailure(std::string reason, WhereFailureCode code, ActionFigures figures) {
    WhereFailure failure{std::move(reason), {}, {}, false};
    addSentence(failure, code, std::move(figures));
    return failure;
}

WhereFailure trackingFailure(std::string reason, const WhereFailureCodes& sentence) {
    return trackingFailure(std::move(reason),
                           sentence.code.known.value_or(WhereFailureCode::toolProblem),
                           sentence.figures);
}

void addSentence(WhereFailure& failure, WhereFailureCode code, ActionFigures figures) {
    if (!failure.message.empty()) {
        failure.message += ' ';
    }
    failure.message += englishText(wherePattern(code), figures);
    failure.sentences.push_back({code, std::move(figures)});
}

SuggestedCommand suggestedCommand(std::string command, WhereCommandCode code) {
    WhereCommandCodes coded{code, {}};
    return {std::move(command), englishText(wherePattern(code), coded.figures), std::move(coded)};
}

StackFrame decodeRecord(const Json& json, std::type_identity<StackFrame>) {
    const ObjectReader in(json);
    return {
        .function = in.required<std::string>("function"),
        .file = in.defaulted<std::string>("file", std::string()),
        .line = in.defaulted<uint32_t>("line", 0u),
        .module = in.defaulted<std::string>("module", std::string()),
    };
}

Json encodeRecord(const StackFrame& value) {
    return ObjectWriter()
        .field("function", value.function)
        .field("file", value.file)
        .field("line", value.line)
        .field("module", value.module)
        .done();
}

LeakSite decodeRecord(const Json& json, std::type_identity<LeakSite>) {
    const ObjectReader in(json);
    return {
        .bytes = in.required<uint64_t>("bytes"),
        .calls = in.required<uint64_t>("calls"),
        .stack = in.required<std::vector<StackFrame>>("stack"),
        .siteFrame = in.defaulted<uint32_t>("siteFrame", 0u),
    };
}

Json encodeRecord(const LeakSite& value) {
    return ObjectWriter()
        .field("headline", siteHeadline(value))
        .field("bytes", value.bytes)
        .field("calls", value.calls)
        .field("siteFrame", value.siteFrame)
        .field("stack", value.stack)
        .done();
}

WhereReport decodeRecord(const Json& json, std::type_identity<WhereReport>) {
    const ObjectReader in(json);
    return {
        .pid = in.required<int64_t>("pid"),
        .program = in.defaulted<std::string>("program", std::string()),
        .trackedSeconds = in.defaulted<double>("trackedSeconds", 0.0),
        .processEnded = in.defaulted<bool>("processEnded", false),
        .stoppedEarly = in.defaulted<bool>("stoppedEarly", false),
        .recording = in.defaulted<std::string>("recording", std::string()),
        .recordingBytes = in.defaulted<uint64_t>("recordingBytes", uint64_t{0}),
        .leakedBytes = in.defaulted<uint64_t>("leakedBytes", uint64_t{0}),
        .sites = in.required<std::vector<LeakSite>>("sites"),
        .relaunchedPid = in.defaulted<int64_t>("relaunchedPid", int64_t{0}),
        .note = in.defaulted<std::string>("note", std::string()),
    };
}

Json encodeRecord(const WhereReport& value) {
    return ObjectWriter()
        .field("pid", value.pid)
        .field("program", value.program)
        .field("trackedSeconds", value.trackedSeconds)
        .field("processEnded", value.processEnded)
        .field("stoppedEarly", value.stoppedEarly)
        .field("recording", value.recording)
        .field("recordingBytes", value.recordingBytes)
        .field("leakedBytes", value.leakedBytes)
        .field("sites", value.sites)
        .field("relaunchedPid", value.relaunchedPid)
        .field("note", value.note)
        .done();
}

SuggestedCommand decodeRecord(const Json& json, std::type_identity<SuggestedCommand>) {
    const ObjectReader in(json);
    return {.command = in.required<std::string>("command"),
            .explanation = in.defaulted<std::string>("explanation", std::string()),
            .code = in.optional<WhereCommandCodes>("code")};
}

Json encodeRecord(const SuggestedCommand& value) {
    return ObjectWriter()
        .field("command", value.command)
        .field("explanation", value.explanation)
        .field("code", value.code)
        .done();
}

WhereFailure decodeRecord(const Json& json, std::type_identity<WhereFailure>) {
    const ObjectReader in(json);
    return {
        .reason = in.required<std::string>("reason"),
        .message = in.required<std::string>("message"),
        .commands = in.defaulted<std::vector<SuggestedCommand>>("commands",
                                                                std::vector<SuggestedCommand>{}),
        .restartHelps = in.defaulted<bool>("restartHelps", false),
        .sentences = in.defaulted<std::vector<WhereFailureCodes>>("sentences",
                                                                  std::vector<WhereFailureCodes>{}),
    };
}

Json encodeRecord(const WhereFailure& value) {
    return ObjectWriter()
        .field("reason", value.reason)
        .field("message", value.message)
        .field("commands", value.commands)
        .field("restartHelps", value.restartHelps)
        .field("sentences", value.sentences)
        .done();
}

} // namespace velmora
