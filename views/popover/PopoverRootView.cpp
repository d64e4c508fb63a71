// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverRootView.h"

#include "views/detail/DetailView.h"
#include "views/findings/RecentFindingsSection.h"
#include "views/help/VerdictOnboardingTooltip.h"
#include "views/kit/SectionTransition.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"
#include "views/popover/FooterTelemetry.h"
#include "views/popover/LiveTriageList.h"
#include "views/popover/NotWatchingPanel.h"
#include "views/popover/OutOfDate.h"
#include "views/popover/PopoverHistorySlot.h"
#include "views/popover/SummaryStrip.h"
#include "views/popover/SystemStateHeader.h"
#include "views/relief/ActionFeedbackBanner.h"
#include "views/relief/ConfirmationOverlay.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPainter>

namespace velmora {

// The card: a rounded shell with a hairline border; the root paints its shadow.
class PopoverCard : public QWidget {
public:
    explicit PopoverCard(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("popoverCard"));
        repaintOnAppearanceChange(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const auto& palette = VelmoraPalette::current();
        paintSurface(painter, QRectF(rect()), 22, palette.color(PaletteColor::shell),
                     palette.color(PaletteColor::shellStroke));
    }
};

namespace {

std::vector<std::string> rowKeys(const PopoverSnapshot& snapshot) {
    std::vector<std::string> keys;
    keys.reserve(snapshot.rows.size());
    for (const auto& row : snapshot.rows) {
        keys.push_back(row.key);
    }
    return keys;
}

} // namespace

PopoverRootView::PopoverRootView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("popoverRoot"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 14);
    card_ = new PopoverCard(this);
    outer->addWidget(card_);
    sections_ = new QVBoxLayout(card_);
    sections_->setContentsMargins(16, 16, 16, 16);
    sections_->setSpacing(11);
    buildSections();
    overlay_ = new ConfirmationOverlay(this);
    overlay_->setOnDispatchAction([this](const ActionDescriptor& action) {
        if (callbacks_.dispatch) {
            callbacks_.dispatch(action);
        }
    });
    overlay_->hide();
    repaintOnAppearanceChange(this);
    resize(popoverWidth, 400);
}

PopoverRootView::~PopoverRootView() = default;

void PopoverRootView::buildSections() {
    header_ = new SystemStateHeader(card_);
    notice_ = new NotWatchingPanel(card_);
    notice_->setOnRestart([this] {
        if (callbacks_.restartMonitor) {
            callbacks_.restartMonitor();
        }
    });
    notice_->hide();
    summary_ = new SummaryStrip(card_);
    tooltip_ = new VerdictOnboardingTooltip(card_);
    tooltip_->setOnDismiss([this] {
        if (callbacks_.dismissActiveVerdictTooltip) {
            callbacks_.dismissActiveVerdictTooltip();
        }
    });
    tooltip_->hide();

    // The sections the snapshot fills below the header, in a stack of their own so that they
    // can be dimmed together.
    snapshotArea_ = new QWidget(card_);
    snapshotArea_->setObjectName(QStringLiteral("snapshotArea"));
    auto* snapshotStack = new QVBoxLayout(snapshotArea_);
    snapshotStack->setContentsMargins(0, 0, 0, 0);
    snapshotStack->setSpacing(sections_->spacing());

    mainArea_ = new QWidget(snapshotArea_);
    mainArea_->setObjectName(QStringLiteral("mainArea"));
    auto* main = new QVBoxLayout(mainArea_);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    live_ = new LiveTriageList(mainArea_);
    live_->setCallbacks(&callbacks_);
    detail_ = new DetailView(mainArea_);
    detail_->setObjectName(QStringLiteral("detailView"));
    detail_->setOnBack([this] {
        if (callbacks_.closeDetail) {
            callbacks_.closeDetail();
        }
    });
    detail_->setOnDispatchAction([this](const ActionDescriptor& action) {
        if (callbacks_.dispatch) {
            callbacks_.dispatch(action);
        }
    });
    detail_->setIsActionPending(
        [this](const ActionDescriptor& action) { return state_.isActionPending(action); });
    detail_->hide();
    history_ = createHistorySurface(mainArea_, callbacks_);
    history_->setObjectName(QStringLiteral("advancedHistoryView"));
    history_->hide();
    main->addWidget(live_);
    main->addWidget(detail_);
    main->addWidget(history_);

    recent_ = new RecentFindingsSection(snapshotArea_);
    recent_->setObjectName(QStringLiteral("recentFindingsSection"));
    recent_->hide();
    snapshotStack->addWidget(mainArea_);
    snapshotStack->addWidget(recent_);
    banner_ = new ActionFeedbackBanner(card_);
    banner_->hide();
    footer_ = new FooterTelemetry(card_);
    footer_->setCallbacks({[this] {
                               if (callbacks_.toggleAdvancedHistory) {
                                   callbacks_.toggleAdvancedHistory();
                               }
                           },
                           [this](ShellCommand command) { handleCommand(command); }});

    for (QWidget* section : std::initializer_list<QWidget*>{header_, notice_, summary_, tooltip_,
                                                            snapshotArea_, banner_, footer_}) {
        sections_->addWidget(section);
    }
}

void PopoverRootView::setCallbacks(PopoverCallbacks callbacks) {
    callbacks_ = std::move(callbacks);
}

QWidget* PopoverRootView::card() const {
    return card_;
}

void PopoverRootView::handleCommand(ShellCommand command) {
    if (command == ShellCommand::openSettings) {
        if (callbacks_.openSettings) {
            callbacks_.openSettings();
        }
        return;
    }
    if (callbacks_.sendCommand) {
        callbacks_.sendCommand(command);
    }
}

std::optional<VelmoraMotion>
PopoverRootView::cardMotion(const PopoverRenderState& next,
                            std::optional<VelmoraMotion> motion) const {
    if (motion || !rendered_) {
        return motion;
    }
    if (next.snapshot.globalTone != state_.snapshot.globalTone) {
        return velmora::motion(MotionName::shellEmphasis);
    }
    if (rowKeys(next.snapshot) != rowKeys(state_.snapshot)) {
        return velmora::motion(MotionName::shellRefresh);
    }
    return std::nullopt;
}

void PopoverRootView::render(const PopoverRenderState& state,
                             std::optional<VelmoraMotion> requested) {
    const auto motion = rendered_ ? cardMotion(state, requested) : std::nullopt;
    const PopoverSnapshot& snapshot = state.snapshot;
    const bool focused = isFocusedIncidentLayout(snapshot);
    const bool live = state.surface == PopoverSurface::live;
    const bool watching = !state.notWatching.has_value();
    state_ = state;

    // Before the monitor's first answer there are no figures to show: neither the header's
    // reading nor anything below it that the snapshot fills.
    header_->setState(snapshot.systemState, snapshot.globalTone, watching);
    setSectionVisible(header_, state.hasData(), motion, TransitionStyle::fadeScale(1.0),
                      TransitionStyle::fadeScale(1.0));
    if (state.notWatching) {
        notice_->setNotice(*state.notWatching);
    }
    setSectionVisible(notice_, !watching, motion, TransitionStyle::moveFromTop(),
                      TransitionStyle::moveFromTop());
    // The summary speaks for the snapshot as if it were current: the notice takes its place.
    summary_->setContent(QString::fromStdString(state.activeSummaryText()), snapshot.globalTone);
    setSectionVisible(summary_, !focused && watching, motion, TransitionStyle::fadeScale(1.0),
                      TransitionStyle::fadeScale(1.0));

    if (state.activeVerdictTooltip) {
        tooltip_->setTooltip(*state.activeVerdictTooltip);
    }
    setSectionVisible(tooltip_, state.activeVerdictTooltip && live && state.hasData(), motion,
                      TransitionStyle::moveFromTop(), TransitionStyle::moveFromTop());

    // The history is fetched on its own, so it may show without data; the live list and the
    // detail may not.
    setSectionVisible(snapshotArea_, state.hasData() || !live, motion,
                      TransitionStyle::fadeScale(1.0), TransitionStyle::fadeScale(1.0));
    renderMainArea(state, motion);

    const bool showRecent = live && !focused && state.hasData() && !snapshot.recentFindings.empty();
    if (showRecent) {
        recent_->setRecentFindings(snapshot.recentFindings);
    }
    setSectionVisible(recent_, showRecent, motion, TransitionStyle::offsetScale(8, 0.99),
                      TransitionStyle::offsetScale(8, 0.99));

    if (state.visibleActionFeedback) {
        banner_->setFeedback(*state.visibleActionFeedback);
    }
    setSectionVisible(banner_, state.visibleActionFeedback.has_value(), motion,
                      TransitionStyle::moveFromBottom(), TransitionStyle::moveFromBottom());

    footer_->setContent(
        snapshot.footerTelemetry, state.surface == PopoverSurface::advanced, focused,
        [this](ShellCommand command) { return state_.isCommandPending(command); }, state.hasData());

    // Everything the snapshot filled in below the notice is as old as the notice says.
    setOutOfDate(snapshotArea_, !watching);
    footer_->setOutOfDate(!watching);
    renderOverlay(state, requested);
    rendered_ = true;
    fitHeight();
}

bool PopoverRootView::showsRowsOutOfDate() const {
    return isOutOfDate(snapshotArea_);
}

void PopoverRootView::renderMainArea(const PopoverRenderState& state,
                                     const std::optional<VelmoraMotion>& motion) {
    const PopoverSnapshot& snapshot = state.snapshot;
    QWidget* shown = live_;
    if (state.surface == PopoverSurface::advanced) {
        renderHistorySurface(history_, state);
        shown = history_;
    } else if (snapshot.selectedDetail) {
        detail_->setDetail(*snapshot.selectedDetail);
        detail_->refreshPending();
        shown = detail_;
    } else {
        live_->render(state);
    }
    QWidget* previous = nullptr;
    for (QWidget* candidate :
         {static_cast<QWidget*>(live_), static_cast<QWidget*>(detail_), history_}) {
        if (!candidate->isHidden() && candidate != shown) {
            previous = candidate;
        }
    }
    if (previous == nullptr) {
        shown->setVisible(true);
        return;
    }
    // The surfaces swap: the leaving one slides out to the leading edge (or, for the live
    // list, fades up), the new one comes in from the trailing edge.
    const bool liveInvolved = previous == live_ || shown == live_;
    const TransitionStyle liveStyle = TransitionStyle::offsetScale(10, 0.985);
    setSectionVisible(previous, false, motion,
                      previous == live_ ? liveStyle : TransitionStyle::trailingInsertion(),
                      previous == live_ ? liveStyle : TransitionStyle::leadingRemoval());
    setSectionVisible(shown, true, motion,
                      shown == live_ ? liveStyle : TransitionStyle::trailingInsertion(),
                      shown == live_ ? liveStyle : TransitionStyle::leadingRemoval());
    (void)liveInvolved;
}

void PopoverRootView::renderOverlay(const PopoverRenderState& state,
                                    const std::optional<VelmoraMotion>& motion) {
    if (state.snapshot.destructiveConfirmation) {
        overlay_->setConfirmation(*state.snapshot.destructiveConfirmation);
        overlay_->setGeometry(rect());
        overlay_->raise();
    }
    const auto style = TransitionStyle::fadeScale(0.985);
    setSectionVisible(overlay_, state.snapshot.destructiveConfirmation.has_value(), motion, style,
                      style);
}

void PopoverRootView::renderStandalone(const PopoverRenderState& state) {
    setFixedWidth(popoverWidth); // as the app holds it, whatever width the layout would like
    render(state);
    resize(popoverSize());
    show();
    render(state);
    resize(popoverSize());
}

QSize PopoverRootView::popoverSize() const {
    const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(popoverWidth)
                                                     : layout()->totalSizeHint().height();
    return {popoverWidth, std::max(height, layout()->totalMinimumSize().height())};
}

void PopoverRootView::fitHeight() {
    const QSize size = popoverSize();
    if (size != this->size()) {
        resize(size);
        emit popoverSizeChanged(size);
    }
}

bool PopoverRootView::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest) {
        fitHeight(); // children that were just shown may need more (or less) height
    }
    return handled;
}

void PopoverRootView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    overlay_->setGeometry(rect());
}

void PopoverRootView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& palette = VelmoraPalette::current();
    const QRectF bounds = QRectF(rect());
    // The popover's own backdrop, then the card's shadow.
    painter.fillRect(bounds, palette.color(PaletteColor::shell));
    painter.fillRect(bounds, verticalGradient(bounds, palette.color(PaletteColor::shell, 0.82),
                                              palette.color(PaletteColor::inset, 0.24)));
    paintShadow(painter, roundedShape(QRectF(card_->geometry()), 22),
                QColor::fromRgbF(0, 0, 0, 0.16f), 28, QPointF(0, 16));
}

} // namespace velmora
