// SPDX-License-Identifier: GPL-3.0-or-later
// Why heap tracking could not be done travels with its codes: from the codes alone (through the
// wire and back, and across the `velmora where` child's answer) the app composes the very reason
// and explanations of the commands offered instead that the monitor wrote. A child that sends no
// codes, or a code this build does not know, leaves the monitor's texts shown as sent.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "TraceFactsFixture.h"
#include "model/Codec.h"
#include "monitor/actions/MonitorContext.h"
#include "monitor/actions/WhereActions.h"
#include "monitor/compose/WhereSection.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/TraceAccess.h"
#include "monitor/where/WhereCaptures.h"
#include "state/ActionTexts.h"
#include "state/WhereTexts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace velmora {
namespace {

constexpr char kKey[] = "app:editor";

struct FailureFixture : ComposeFixture {
    FailureFixture() {
        FamilyView editor;
        editor.key = kKey;
        editor.title = "Editor";
        editor.assessment.verdict = FindingVerdict::probable;
        MemberView member;
        member.identity.pid = 4242;
        member.name = "editor";
        editor.members.push_back(member);
        view.families.push_back(editor);
    }

    // The blocked section for `failure`, as the app receives it.
    WhereItGrowsBlock blocked(WhereFailure failure) const {
        WhereCapture capture;
        capture.key = kKey;
        capture.title = "Editor";
        capture.phase = WherePhase::finished;
        capture.failure = std::move(failure);
        return sent(whereBlockOf(context(), capture));
    }
};

std::vector<std::string> explanations(const std::vector<NextCommandDescriptor>& commands) {
    std::vector<std::string> texts;
    for (const NextCommandDescriptor& command : commands) {
        texts.push_back(command.explanation);
    }
    return texts;
}

// Every refusal Velmora's rules and the kernel's ptrace rule make, as they decide it.
std::vector<WhereFailure> refusals() {
    std::vector<TraceFacts> cases(8, ownProcess());
    cases[0].exists = false;
    cases[2].uids = {1001, 1001, 1001, 1001};
    cases[3].setIdExecutable = true;
    cases[4].procOwner = 0;
    for (int scope = 1; scope <= 3; ++scope) {
        cases[4 + scope].ptraceScope = scope;
    }
    std::vector<WhereFailure> failures;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const pid_t self = i == 1 ? 4242 : 1;
        failures.push_back(failureOf(decideTraceAccess(cases[i], 1000, 1000, self)));
    }
    failures.push_back(failureOf(attachRefused(4242, "leak")));
    failures.push_back(notInstalledFailure({"heaptrack"}));
    failures.push_back(notInstalledFailure({"heaptrack", "gdb"}));
    return failures;
}

TEST(WhereFailureCodes, EveryReasonAndExplanationReadsAsTheMonitorWroteIt) {
    const FailureFixture monitor;
    std::vector<WhereFailure> failures = refusals();
    // The rest, each with every figure a sentence may name; a launched program's failure
    // followed by what became of starting it again.
    for (WhereFailureCode code : allCases<WhereFailureCode>()) {
        failures.push_back(trackingFailure("failed", code, everyFigure()));
    }
    WhereFailure launched =
        trackingFailure("failed", WhereFailureCode::readerEndedLaunched, {.name = "editor"});
    addSentence(launched, WhereFailureCode::relaunched, {.name = "editor", .pid = 5151});
    failures.push_back(launched);
    WhereFailure gdb = trackingFailure("notInstalled", WhereFailureCode::gdbWithoutPython,
                                       {.detail = "sudo apt install gdb"});
    gdb.commands = {suggestedCommand("sudo apt install gdb", WhereCommandCode::installGdb)};
    failures.push_back(gdb);

    std::set<WhereFailureCode> reasons;
    std::set<WhereCommandCode> commands;
    for (const WhereFailure& failure : failures) {
        SCOPED_TRACE(failure.message);
        const WhereItGrowsBlock block = monitor.blocked(failure);
        EXPECT_EQ(block.stage, WhereStage::blocked);
        EXPECT_EQ(block.status, failure.message);
        ASSERT_TRUE(block.codes);
        EXPECT_FALSE(block.codes->status);
        EXPECT_EQ(whereFailureText(block.codes->failure), block.status);
        EXPECT_EQ(whereStatusShown(block), block.status);
        for (const WhereFailureCodes& sentence : block.codes->failure) {
            ASSERT_TRUE(sentence.code.known);
            reasons.insert(*sentence.code.known);
        }
        ASSERT_EQ(block.codes->commands.size(), block.commands.size());
        for (const WhereCommandCodes& command : block.codes->commands) {
            ASSERT_TRUE(command.code.known);
            commands.insert(*command.code.known);
        }
        EXPECT_EQ(explanations(whereCommandsShown(block)), explanations(block.commands));
    }
    EXPECT_EQ(reasons.size(), allCases<WhereFailureCode>().size());
    EXPECT_EQ(commands.size(), allCases<WhereCommandCode>().size());
}

TEST(WhereFailureCodes, TheFiguresAreTheProcessThePathsAndTheSystemsOwnWords) {
    const FailureFixture monitor;
    TraceFacts facts = ownProcess();
    facts.ptraceScope = 1;
    const WhereItGrowsBlock scope =
        monitor.blocked(failureOf(decideTraceAccess(facts, 1000, 1000, 1)));
    ASSERT_EQ(scope.codes->failure.size(), 1u);
    EXPECT_EQ(scope.codes->failure[0].code, OpenCode(WhereFailureCode::attachOnlyToChildren));
    EXPECT_EQ(scope.codes->failure[0].figures, (ActionFigures{.process = "leak", .pid = 4242}));
    // The commands are what a person types: sent as they are, the copy buttons beside them.
    ASSERT_EQ(scope.commands.size(), 3u);
    EXPECT_EQ(scope.commands[1].command, "heaptrack -p 4242");
    EXPECT_EQ(scope.codes->commands[1].code, OpenCode(WhereCommandCode::trackUntilInterrupted));

    const WhereItGrowsBlock both = monitor.blocked(notInstalledFailure({"heaptrack", "gdb"}));
    EXPECT_EQ(both.codes->failure[0].figures,
              (ActionFigures{.name = "heaptrack",
                             .detail = "sudo apt install heaptrack gdb",
                             .moreDetail = "gdb"}));
    EXPECT_EQ(both.commands.at(0).command, "sudo apt install heaptrack gdb");
}

TEST(WhereFailureCodes, WithoutCodesOrWithAnUnknownOneTheMonitorsTextsAreShown) {
    const FailureFixture monitor;
    // An older `velmora where` wrote its reason and commands as text alone.
    const WhereItGrowsBlock older = monitor.blocked(WhereFailure{
        "ptraceScope", "No attaching here.", {{"sudo sysctl x=0", "Allows it."}}, true});
    EXPECT_EQ(whereStatusShown(older), "No attaching here.");
    EXPECT_EQ(explanations(whereCommandsShown(older)), std::vector<std::string>{"Allows it."});

    auto newer = decode<WhereItGrowsBlock>(Json::parse(R"({
        "stage": "blocked", "status": "The moon is in the way. It moves on.",
        "commands": [{"command": "wait", "explanation": "Waits.",
                      "action": {"id": "copyWhereCommand1", "label": "Copy", "style": "secondary",
                                 "targetKey": "app:editor"}}],
        "codes": {"failure": [{"code": "moonInTheWay"}, {"code": "noProgram"}],
                  "commands": [{"code": "waitForTheMoon"}]}})"));
    ASSERT_TRUE(newer.ok()) << newer.error().text();
    EXPECT_EQ(whereStatusShown(newer.value()), "The moon is in the way. It moves on.");
    EXPECT_EQ(explanations(whereCommandsShown(newer.value())), std::vector<std::string>{"Waits."});

    auto wrong = decode<WhereItGrowsBlock>(Json::parse(
        R"({"stage": "blocked", "status": "x", "codes": {"failure": [{"code": "self", "pid": "1"}]}})"));
    ASSERT_FALSE(wrong.ok());
    EXPECT_NE(wrong.error().text().find("codes.failure[0].pid"), std::string::npos)
        << wrong.error().text();
}

TEST(WhereFailureCodes, TheBannerAfterARefusalCarriesTheReasonsSentences) {
    MonitorPaths paths;
    paths.home = "/home/ada";
    ConfigStore config("/nonexistent/velmora/config.json");
    MonitorContext context(paths, config, 1000, 1);
    context.monotonicClock = [] { return 100.0; };
    context.wallClock = [] { return 1.7e9; };
    FamilyView desktop;
    desktop.key = "app:session";
    desktop.title = "Session";
    desktop.isProtected = true;
    WhereActions(context).dispatch(ActionId::findWhereItLeaks, &desktop, desktop.key);

    ASSERT_TRUE(context.interaction.feedback);
    const ActionFeedbackSnapshot banner = sent(*context.interaction.feedback);
    EXPECT_EQ(banner.codes->code, OpenCode(FeedbackCode::trackingRefused));
    EXPECT_EQ(banner.whereFailure,
              (std::vector<WhereFailureCodes>{{WhereFailureCode::protectedFamily, {}}}));
    EXPECT_EQ(feedbackMessageShown(banner), banner.message);
    EXPECT_EQ(banner.message, *banner.codes->figures.detail);
    // The section keeps the refusal too, composed the same way.
    const WhereCapture* refused = context.where.find(desktop.key);
    ASSERT_TRUE(refused && refused->failure);
    EXPECT_EQ(refused->failure->sentences, banner.whereFailure);

    // A banner from an older monitor, or with a reason this build does not know, reads as sent.
    ActionFeedbackSnapshot older = banner;
    older.whereFailure.clear();
    older.message = "Not here.";
    older.codes->figures.detail = older.message;
    EXPECT_EQ(feedbackMessageShown(older), "Not here.");
    auto unknown = decode<ActionFeedbackSnapshot>(Json::parse(R"({
        "id": "feedback-2", "kind": "warning", "title": "Heap tracking not possible",
        "message": "Not tonight.", "whereFailure": [{"code": "notTonight"}]})"));
    ASSERT_TRUE(unknown.ok()) << unknown.error().text();
    EXPECT_EQ(feedbackMessageShown(unknown.value()), "Not tonight.");
}

// A stand-in for `velmora where`: a program that writes `answer` as its one line and ends.
class FakeTracker {
public:
    explicit FakeTracker(const std::string& answer) {
        char pattern[] = "/tmp/velmora-fake-where-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        program_ = dir_ + "/velmora";
        std::ofstream(program_) << "#!/bin/sh\ncat <<'EOF'\n" << answer << "\nEOF\n";
        ::chmod(program_.c_str(), 0700);
    }
    ~FakeTracker() { std::filesystem::remove_all(dir_); }
    FakeTracker(const FakeTracker&) = delete;
    FakeTracker& operator=(const FakeTracker&) = delete;

    // The failure the monitor reads back from the program's answer.
    std::optional<WhereFailure> failureRead() const {
        WhereCaptures captures(program_);
        WhereCapture capture;
        capture.key = kKey;
        capture.pid = 4242;
        std::string error;
        EXPECT_TRUE(captures.attach(capture, dir_, error)) << error;
        // Each call reads what the program wrote; the last one waits for its end.
        while (captures.running() != nullptr) {
            captures.follow(0);
        }
        const WhereCapture* done = captures.find(kKey);
        return done != nullptr ? done->failure : std::nullopt;
    }

private:
    std::string dir_;
    std::string program_;
};

TEST(WhereFailureCodes, TheTrackersAnswerCarriesItsCodesAcrossAndAnOlderOneStillReads) {
    WhereFailure refused = failureOf(attachRefused(4242, "leak"));
    const FakeTracker current(dumpJsonText(Json{{"error", encodeRecord(refused)}}));
    EXPECT_EQ(current.failureRead(), refused);

    // Without the codes: the reason and commands as sent, nothing composed.
    Json older = encodeRecord(refused);
    older.erase("sentences");
    older["commands"][0].erase("code");
    const FakeTracker old(dumpJsonText(Json{{"error", older}}));
    const auto read = old.failureRead();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->message, refused.message);
    EXPECT_TRUE(read->sentences.empty());
    EXPECT_EQ(read->commands.at(0).command, "sudo heaptrack -p 4242");
    const WhereItGrowsBlock block = FailureFixture().blocked(*read);
    EXPECT_EQ(whereStatusShown(block), refused.message);
    EXPECT_EQ(explanations(whereCommandsShown(block)),
              std::vector<std::string>{refused.commands[0].explanation});

    // An answer that cannot be read is a reason of its own, with the decoder's words.
    const FakeTracker broken(R"({"error": {"reason": 5}})");
    const auto unread = broken.failureRead();
    ASSERT_TRUE(unread);
    ASSERT_EQ(unread->sentences.size(), 1u);
    EXPECT_EQ(unread->sentences[0].code, OpenCode(WhereFailureCode::answerUnread));
    EXPECT_NE(unread->sentences[0].figures.detail->find("reason"), std::string::npos);

    // A program that ends without a word.
    const FakeTracker silent("");
    const auto none = silent.failureRead();
    ASSERT_TRUE(none);
    EXPECT_EQ(none->sentences.at(0).code, OpenCode(WhereFailureCode::noReport));
}

} // namespace
} // namespace velmora
