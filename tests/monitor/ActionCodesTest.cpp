// SPDX-License-Identifier: GPL-3.0-or-later
// The texts about the person's actions travel with their codes and figures: a button's label,
// the question before an action that cannot be undone, and the banner after an action. The app
// composes, from the codes alone (through the wire and back), the very texts the monitor wrote;
// an unknown code or a missing figure shows the monitor's text, and a code of the wrong type
// fails with its path.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "base/Translate.h"
#include "model/Codec.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/FamilyTexts.h"
#include "state/ActionTexts.h"

#include <gtest/gtest.h>
#include <set>

namespace velmora {
namespace {

FamilyView editor(bool critical = false) {
    FamilyView family;
    family.key = "app:editor";
    family.title = "Editor";
    family.footprintKiB = 2 * 1024 * 1024;
    family.assessment.verdict =
        critical ? FindingVerdict::criticalRunaway : FindingVerdict::probable;
    family.members.resize(3);
    return family;
}

TEST(ActionCodes, EveryPatternNamesEachOfItsFiguresOnce) {
    auto check = [](const ActionPattern& pattern) {
        std::set<char> markers;
        const std::string text = pattern.text;
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') {
                markers.insert(text[i + 1]);
            }
        }
        EXPECT_EQ(markers.size(), pattern.figures.size()) << pattern.text;
    };
    for (ActionLabel label : allCases<ActionLabel>()) {
        check(labelPattern(label));
    }
    for (ConfirmationCode code : allCases<ConfirmationCode>()) {
        check(confirmationTitlePattern(code));
        check(confirmationMessagePattern(code));
        check(confirmationMessagePattern(code, {.count = 1}));
    }
    for (FeedbackCode code : allCases<FeedbackCode>()) {
        check(feedbackTitlePattern(code));
        check(feedbackMessagePattern(code));
    }
}

TEST(ActionCodes, LabelsSayWhatTheMonitorSays) {
    for (ActionLabel label : allCases<ActionLabel>()) {
        const ActionDescriptor action =
            codedAction(ActionId::recover, label, ActionStyle::warning, "app:editor", "Editor");
        const ActionDescriptor received = sent(action);
        ASSERT_TRUE(received.labelCode) << action.label;
        EXPECT_EQ(received.labelCode->code.known, label);
        EXPECT_EQ(actionLabelShown(received), action.label);
    }
    EXPECT_EQ(
        codedAction(ActionId::recover, ActionLabel::quitApp, ActionStyle::warning, "k", "Editor")
            .label,
        "Quit Editor");
    // The row's actions, in the order the row offers them, each with its code.
    std::vector<std::string> labels;
    for (const ActionDescriptor& action : actionsFor(editor(), false)) {
        const ActionDescriptor received = sent(action);
        ASSERT_TRUE(received.labelCode) << action.label;
        EXPECT_EQ(actionLabelShown(received), action.label);
        labels.push_back(action.label);
    }
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Inspect", "Capture Evidence", "Restart", "Quit Editor",
                                        "Force Quit", "Ignore for 24 Hours"}));
}

TEST(ActionCodes, ShortLabelsComeFromTheCodeNotTheWords) {
    const auto quit =
        codedAction(ActionId::recover, ActionLabel::quitApp, ActionStyle::warning, "k", "Editor");
    EXPECT_EQ(actionDisplayLabel(sent(quit)), "Quit");
    const auto recover =
        codedAction(ActionId::recover, ActionLabel::recover, ActionStyle::primary, "k");
    EXPECT_EQ(actionDisplayLabel(sent(recover)), "Recover");
    // A label that only reads like a quit, without the code that says so, is a recovery.
    EXPECT_EQ(
        actionDisplayLabel(makeAction(ActionId::recover, "Quit Editor", ActionStyle::warning, "k")),
        "Recover");
}

TEST(ActionCodes, ConfirmationsSayWhatTheMonitorSays) {
    const DestructiveConfirmationSnapshot forceQuit = forceQuitConfirmation(editor());
    EXPECT_EQ(forceQuit.title, "Force quit Editor?");
    EXPECT_EQ(forceQuit.message, "Its 3 processes stop at once and unsaved work is lost.");
    const auto received = sent(forceQuit);
    ASSERT_TRUE(received.codes);
    EXPECT_EQ(confirmationTitleShown(received), forceQuit.title);
    EXPECT_EQ(confirmationMessageShown(received), forceQuit.message);
    EXPECT_EQ(actionLabelShown(received.confirmAction), "Force Quit");
    EXPECT_EQ(actionLabelShown(received.cancelAction), "Cancel");
    // An app of a single process is asked about in the singular, and composed so too.
    FamilyView single = editor();
    single.members.resize(1);
    const DestructiveConfirmationSnapshot one = forceQuitConfirmation(single);
    EXPECT_EQ(one.message, "Its process stops at once and unsaved work is lost.");
    EXPECT_EQ(confirmationMessageShown(sent(one)), one.message);
    for (ConfirmationCode code : allCases<ConfirmationCode>()) {
        for (double seconds : {45.0, 90.0, 300.0, 7500.0}) {
            const auto confirmation = codedConfirmation(code, everyFigure(seconds), {}, {});
            const auto back = sent(confirmation);
            EXPECT_EQ(confirmationTitleShown(back), confirmation.title);
            EXPECT_EQ(confirmationMessageShown(back), confirmation.message);
        }
    }
    EXPECT_EQ(codedConfirmation(ConfirmationCode::findWhereItLeaks, everyFigure(), {}, {}).message,
              "Velmora attaches a heap tracker to worker (PID 4242) for 45 s; the process keeps "
              "running, a little slower.");
}

TEST(ActionCodes, FeedbackSaysWhatTheMonitorSays) {
    for (FeedbackCode code : allCases<FeedbackCode>()) {
        for (double seconds : {45.0, 300.0}) {
            const ActionFeedbackSnapshot feedback =
                codedFeedback(ActionFeedbackKind::success, code, everyFigure(seconds));
            EXPECT_EQ(feedback.message.find('%'), std::string::npos) << feedback.message;
            const ActionFeedbackSnapshot received = sent(feedback);
            ASSERT_TRUE(received.codes);
            EXPECT_EQ(feedbackTitleShown(received), feedback.title);
            EXPECT_EQ(feedbackMessageShown(received), feedback.message);
        }
    }
    const ActionFigures figures = everyFigure();
    const auto message = [&](FeedbackCode code) {
        return codedFeedback(ActionFeedbackKind::success, code, figures).message;
    };
    EXPECT_EQ(message(FeedbackCode::recoveryCompleted),
              "Firefox quit gracefully; about 1.5 GB given back.");
    EXPECT_EQ(message(FeedbackCode::forceQuitIncomplete), "Firefox: 3 of 5 processes stopped.");
    EXPECT_EQ(message(FeedbackCode::restartTrackingNotStarted),
              "Firefox could not be started under tracking (Permission denied), and starting it "
              "again failed too: No such file or directory");
    EXPECT_EQ(
        codedFeedback(ActionFeedbackKind::error, FeedbackCode::unknownAction, {.detail = "fly"})
            .message,
        "Velmora does not know the action \"fly\".");
}

TEST(ActionCodes, UnknownCodesAndMissingFiguresShowTheMonitorsText) {
    const auto snapshot = decodeText<PopoverSnapshot>(R"({
        "actionFeedback": {"id": "f1", "kind": "success", "title": "Teleported",
                           "message": "It is elsewhere now.", "codes": {"code": "teleported"}},
        "destructiveConfirmation": {
            "title": "Force quit it?", "message": "It stops.",
            "confirmAction": {"id": "confirm_force_quit", "label": "Go", "style": "destructive",
                              "targetKey": "k", "labelCode": {"code": "goNow"}},
            "cancelAction": {"id": "cancel_force_quit", "label": "Stay", "style": "secondary",
                             "targetKey": "k", "labelCode": {"code": "cancel"}},
            "codes": {"code": "forceQuit"}}})");
    ASSERT_TRUE(snapshot.ok()) << snapshot.error().text();
    const PopoverSnapshot& s = snapshot.value();
    EXPECT_EQ(feedbackTitleShown(*s.actionFeedback), "Teleported");
    EXPECT_EQ(feedbackMessageShown(*s.actionFeedback), "It is elsewhere now.");
    EXPECT_EQ(actionLabelShown(s.destructiveConfirmation->confirmAction), "Go");
    EXPECT_EQ(actionLabelShown(s.destructiveConfirmation->cancelAction), "Cancel");
    // A known code whose figures are missing: the title needs none, the message the name.
    EXPECT_EQ(confirmationTitleShown(*s.destructiveConfirmation), "Force quit it?");
    EXPECT_EQ(confirmationMessageShown(*s.destructiveConfirmation), "It stops.");
}

TEST(ActionCodes, WrongTypesFailWithTheirPath) {
    const auto failureOf = [](const char* json) {
        auto decoded = decodeText<PopoverSnapshot>(json);
        return decoded.ok() ? std::string() : decoded.error().text();
    };
    EXPECT_EQ(failureOf(R"({"actionFeedback": {"id": "f", "kind": "success", "title": "t",
        "message": "m", "codes": {"code": 3}}})"),
              "actionFeedback.codes.code: expected string, got number");
    EXPECT_EQ(failureOf(R"({"actionFeedback": {"id": "f", "kind": "success", "title": "t",
        "message": "m", "codes": {"code": "recoveryCompleted", "footprintKiB": "1 GB"}}})"),
              "actionFeedback.codes.footprintKiB: expected number, got string");
    EXPECT_EQ(failureOf(R"({"rows": [{"key": "k", "title": "t", "rate": "", "severity": "watch",
        "orderedActions": [{"id": "recover", "label": "Quit t", "style": "warning",
                            "targetKey": "k", "labelCode": {"code": "quitApp", "name": 7}}]}]})"),
              "rows[0].orderedActions[0].labelCode.name: expected string, got number");
}

// A language may put a sentence's figures in its own order.
std::string reorderedActionTexts(const char*, const char* source, const char*, int) {
    const std::string text = source;
    if (text == "%1: %2 of %3 processes stopped.") {
        return "%3 signalled, %2 stopped (%1).";
    }
    if (text == "Quit %1") {
        return "%1 beenden";
    }
    return text;
}

TEST(ActionCodes, ComposedThroughTheCatalogue) {
    setTranslator(&reorderedActionTexts);
    const auto message = feedbackMessageText(
        {FeedbackCode::forceQuitCompleted, {.name = "Editor", .count = 2, .total = 3}});
    const auto label = actionLabelText({ActionLabel::quitApp, {.name = "Editor"}});
    setTranslator(nullptr);
    EXPECT_EQ(message, "3 signalled, 2 stopped (Editor).");
    EXPECT_EQ(label, "Editor beenden");
}

} // namespace
} // namespace velmora
