// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ViewTestSupport.h"
#include "views/help/VerdictOnboardingTooltip.h"
#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/MotionAnimator.h"
#include "views/kit/QtScheduler.h"
#include "views/kit/SectionTransition.h"
#include "views/kit/SurfaceFrame.h"
#include "views/kit/VelmoraText.h"
#include "views/relief/ActionFeedbackBanner.h"
#include "views/relief/ConfirmationOverlay.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::findByObjectName;

TEST(ActionCapsuleButtonTest, CardButtonShowsTheShortLabelAndDimsWhilePending) {
    ActionCapsuleButton button(ActionCapsuleButton::card());
    int taps = 0;
    button.setOnTap([&] { ++taps; });
    ActionDescriptor quit{"recover", "Quit Safari", ActionStyle::primary, "safari"};
    quit.labelCode = ActionLabelCodes{ActionLabel::quitApp, {.name = "Safari"}};
    button.setAction(quit);
    EXPECT_EQ(button.labelText(), "Quit");
    const int idleWidth = button.sizeHint().width();
    button.click();
    EXPECT_EQ(taps, 1);
    button.setPending(true);
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(button.labelText(), "Quit"); // the card keeps its label beside the spinner
    EXPECT_GT(button.sizeHint().width(), idleWidth);
    button.click();
    EXPECT_EQ(taps, 1);
    button.setPending(false);
    EXPECT_TRUE(button.isEnabled());
}

TEST(ActionCapsuleButtonTest, ChipShowsTheLabelAsSentAndWorkingWhilePending) {
    ActionCapsuleButton chip(ActionCapsuleButton::chip());
    chip.setAction({"request_force_quit", "Force Quit", ActionStyle::destructive, "k"});
    EXPECT_EQ(chip.labelText(), "Force Quit");
    chip.setPending(true);
    EXPECT_EQ(chip.labelText(), "Working");
    EXPECT_EQ(chip.accessibleName(), "Working");
}

// Given less than its label needs, a button cuts the label at its tail, with an ellipsis, inside
// its padding; given its preferred width, it shows the whole label.
TEST(ActionCapsuleButtonTest, NarrowerThanItsLabelElidesInsideItsPadding) {
    ActionCapsuleButton chip(ActionCapsuleButton::chip());
    chip.setAction({"open_artifact_external", "Open externally", ActionStyle::secondary, "k"});
    chip.resize(chip.sizeHint());
    EXPECT_EQ(chip.shownLabel(), "Open externally");
    EXPECT_FALSE(chip.drawnTexts().front().elided);
    EXPECT_LT(chip.minimumSizeHint().width(), chip.sizeHint().width());

    chip.resize(60, chip.sizeHint().height());
    const DrawnText line = chip.drawnTexts().front();
    EXPECT_TRUE(line.elided);
    EXPECT_TRUE(line.text.endsWith(QChar(0x2026))) << line.text.toStdString();
    EXPECT_TRUE(line.text.startsWith(QStringLiteral("Op"))) << line.text.toStdString();
    EXPECT_GE(line.origin.x(), 10 - 0.5);
    EXPECT_LE(line.origin.x() + QFontMetricsF(line.font).horizontalAdvance(line.text), 50 + 0.5);
    EXPECT_EQ(chip.accessibleName(), "Open externally"); // the whole label for assistive tools
}

TEST(ConfirmationOverlayTest, DialogKeepsItsWidthAndLongTextsWrap) {
    ConfirmationOverlay overlay;
    overlay.resize(448, 700);
    DestructiveConfirmationSnapshot confirmation;
    confirmation.title = "Force quit every renderer helper of the browser family right now?";
    for (int i = 0; i < 8; ++i) {
        confirmation.message += "Unsaved work in every tab will be lost and cannot be recovered. ";
    }
    overlay.setConfirmation(confirmation);
    EXPECT_EQ(overlay.dialog()->width(), 280);
    auto* title = findByObjectName<VelmoraText>(&overlay, "confirmationTitle");
    EXPECT_EQ(title->lineLimit(), 0);
    EXPECT_GT(title->heightForWidth(248), title->sizeHint().height());
}

TEST(VerdictOnboardingTooltipTest, LinesAlwaysReadMeansFalsePositivePostureAndDismissReports) {
    VerdictOnboardingTooltip tooltip;
    int dismissed = 0;
    tooltip.setOnDismiss([&] { ++dismissed; });
    tooltip.setTooltip({"suspect", "Suspect", "", "Short spikes", "Watch it"});
    tooltip.resize(388, 300);
    tooltip.show();
    testing::settle();
    const char* order[] = {"tooltipMeans", "tooltipFalsePositive", "tooltipPosture"};
    int lastY = -1;
    for (const char* name : order) {
        auto* line = tooltip.findChild<QWidget*>(name);
        ASSERT_NE(line, nullptr) << name;
        EXPECT_GT(line->y(), lastY) << name;
        lastY = line->y();
    }
    tooltip.findChild<QAbstractButton*>("tooltipDismiss")->click();
    EXPECT_EQ(dismissed, 1);
}

TEST(SectionTransitionTest, AnimatedRemovalLeavesAGhostAndInsertionAnEffect) {
    QWidget parent;
    auto* layout = new QVBoxLayout(&parent);
    auto* section = new QWidget(&parent);
    section->setMinimumSize(100, 40);
    layout->addWidget(section);
    parent.show();
    testing::settle();
    MotionAnimator::setAnimationsEnabled(true);
    setSectionVisible(section, false, motion(MotionName::overlay), TransitionStyle::moveFromTop(),
                      TransitionStyle::moveFromTop());
    EXPECT_TRUE(section->isHidden());
    EXPECT_NE(parent.findChild<QWidget*>("transitionGhost"), nullptr);
    setSectionVisible(section, true, motion(MotionName::overlay), TransitionStyle::moveFromTop(),
                      TransitionStyle::moveFromTop());
    EXPECT_NE(qobject_cast<TransitionEffect*>(section->graphicsEffect()), nullptr);
    MotionAnimator::setAnimationsEnabled(false);
    // Without a motion the change is immediate and leaves nothing behind.
    QWidget other(&parent);
    other.show();
    setSectionVisible(&other, false, std::nullopt, {}, {});
    EXPECT_TRUE(other.isHidden());
}

// A section moving in from the top covers a different area at every step: the area it covered
// a step earlier is painted again, or translucent copies of it stay behind over the header.
TEST(SectionTransitionTest, AMovingSectionRepaintsTheAreaItLeaves) {
    QWidget parent;
    parent.resize(200, 300);
    auto* layout = new QVBoxLayout(&parent);
    layout->setContentsMargins(0, 160, 0, 0);
    auto* section = new QWidget(&parent);
    section->setFixedSize(200, 80);
    layout->addWidget(section, 0, Qt::AlignTop);
    parent.show();
    testing::settle();
    ASSERT_EQ(section->y(), 160);

    auto* effect = new TransitionEffect(TransitionStyle::moveFromTop(), section);
    section->setGraphicsEffect(effect);
    effect->setProgress(0.2); // the picture covers y 96..176 of the parent
    testing::settle();

    struct Recorder : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                painted += static_cast<QPaintEvent*>(event)->region();
            }
            return false;
        }
    } recorder;
    parent.installEventFilter(&recorder);
    effect->setProgress(0.6); // now y 128..208: y 96..128 must be painted over
    testing::settle();
    EXPECT_TRUE(recorder.painted.contains(QPoint(100, 100)))
        << "painted " << recorder.painted.boundingRect().y() << ".."
        << recorder.painted.boundingRect().bottom();
    parent.removeEventFilter(&recorder);
}

TEST(QtSchedulerTest, PostedAndDueTasksRunOnTheEventLoopAndCancelledOnesDoNot) {
    QtScheduler scheduler;
    std::vector<int> ran;
    scheduler.post([&] { ran.push_back(1); });
    auto cancelled = scheduler.postAfter(std::chrono::milliseconds(0), [&] { ran.push_back(2); });
    auto kept = scheduler.postAfter(std::chrono::milliseconds(0), [&] { ran.push_back(3); });
    cancelled->cancel();
    EXPECT_TRUE(ran.empty());
    for (int i = 0; i < 5 && ran.size() < 2; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    const auto before = scheduler.now();
    EXPECT_GE(scheduler.now(), before);
}

} // namespace
} // namespace velmora
