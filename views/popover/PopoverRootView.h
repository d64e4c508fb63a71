// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"
#include "views/popover/PopoverRenderState.h"

#include <QImage>
#include <QWidget>
#include <optional>

class QVBoxLayout;

namespace velmora {

class ActionFeedbackBanner;
class ConfirmationOverlay;
class DetailView;
class FooterTelemetry;
class LiveTriageList;
class NotWatchingPanel;
class PopoverCard;
class RecentFindingsSection;
class SummaryStrip;
class SystemStateHeader;
class VerdictOnboardingTooltip;

// The single view inside the popover, 448 pixels wide, as tall as its content. It decides
// which sections appear, in which order, and reports every control through the callbacks.
// A render reconciles the existing widgets: sections stay, rows keep their widgets by key,
// and a state that changes nothing visible repaints nothing. Sections enter and leave with
// the motion the change names; without one the change is immediate. While the monitor is not
// watching, the notice under the header says so and everything the snapshot fills below it
// (the main area, the recent findings and the footer's storage chips) is dimmed as out of date.
class PopoverRootView : public QWidget {
    Q_OBJECT
public:
    static constexpr int popoverWidth = 448;

    explicit PopoverRootView(QWidget* parent = nullptr);
    ~PopoverRootView() override;

    void setCallbacks(PopoverCallbacks callbacks);
    void render(const PopoverRenderState& state, std::optional<VelmoraMotion> motion = {});
    const PopoverRenderState& state() const { return state_; }

    // 448 wide, as tall as the content needs.
    QSize popoverSize() const;
    // Renders the state in a top-level view of its own (tests): held at the popover's width,
    // shown, and sized to the popover again once shown widgets have their real heights.
    // PopoverHost shows it inside the app's own hosting.
    void renderStandalone(const PopoverRenderState& state);
    QSize sizeHint() const override { return popoverSize(); }

    QWidget* card() const;
    NotWatchingPanel* notWatchingPanel() const { return notice_; }
    // Whether the rows are shown dimmed, as out of date.
    bool showsRowsOutOfDate() const;
    LiveTriageList* liveList() const { return live_; }
    DetailView* detailView() const { return detail_; }
    ConfirmationOverlay* confirmationOverlay() const { return overlay_; }

signals:
    void popoverSizeChanged(QSize size);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildSections();
    void renderMainArea(const PopoverRenderState& state,
                        const std::optional<VelmoraMotion>& motion);
    void renderOverlay(const PopoverRenderState& state, const std::optional<VelmoraMotion>& motion);
    void handleCommand(ShellCommand command);
    void fitHeight();
    std::optional<VelmoraMotion> cardMotion(const PopoverRenderState& next,
                                            std::optional<VelmoraMotion> motion) const;

    PopoverCallbacks callbacks_;
    PopoverRenderState state_;
    bool rendered_ = false;
    PopoverCard* card_;
    QVBoxLayout* sections_;
    SystemStateHeader* header_;
    NotWatchingPanel* notice_;
    SummaryStrip* summary_;
    VerdictOnboardingTooltip* tooltip_;
    QWidget* snapshotArea_; // the main area and the recent findings
    QWidget* mainArea_;
    LiveTriageList* live_;
    DetailView* detail_;
    QWidget* history_;
    RecentFindingsSection* recent_;
    ActionFeedbackBanner* banner_;
    FooterTelemetry* footer_;
    ConfirmationOverlay* overlay_;
    QImage shadow_;
    QSize shadowFor_;
    qreal shadowDpr_ = 0;
};

} // namespace velmora
