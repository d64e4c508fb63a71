// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-gallery --out DIR: renders every popover scenario, the secondary surfaces and the tray
// icon, light and dark, at device pixel ratio 2, as PNG files into DIR. It writes nothing else.
// The popover is drawn at its real 448-pixel width inside the app's hosting (PopoverHost).
//
// velmora-gallery --out DIR --detail FILE: renders only the detail the real monitor answered,
// saved in FILE (see bench/views/capture-leak-detail.py), as detail-NAME-{light,dark}.png, NAME
// being FILE's base name.

#include "demo/SavedDetail.h"
#include "demo/ScenarioLibrary.h"
#include "state/VerdictTooltipCatalog.h"
#include "views/gallery/TrayPanels.h"
#include "views/help/VerdictHelpView.h"
#include "views/history/OffenderMemoryBlock.h"
#include "views/kit/MotionAnimator.h"
#include "views/kit/VelmoraPalette.h"
#include "views/popover/NotWatchingNotice.h"
#include "views/popover/PopoverHost.h"
#include "views/tray/TrayGlyph.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

using namespace velmora;

constexpr qreal dpr = 2.0;

QImage renderWidget(QWidget& widget) {
    QImage image(QSizeF(QSizeF(widget.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

bool savePicture(const QImage& image, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
    if (!image.save(path)) {
        std::fprintf(stderr, "velmora-gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

PopoverRenderState liveState(const PopoverSnapshot& snapshot) {
    PopoverRenderState state;
    state.snapshot = snapshot;
    return state;
}

// The popover as the app shows it: the root held at 448 pixels inside the app's hosting, drawn
// at that width whatever width its layout would like.
bool renderPopover(const PopoverRenderState& state, const QString& dir, const QString& name) {
    PopoverHost host;
    host.present(state);
    return savePicture(host.grabPopover(dpr), dir, name);
}

// An offender's history with its chart switched to the last week.
bool renderOffenderWeek(const PopoverRenderState& state, const QString& dir, const QString& name) {
    PopoverHost host;
    host.present(state);
    auto* memory = host.findChild<OffenderMemoryBlock*>("offenderMemoryBlock");
    if (memory == nullptr) {
        std::fprintf(stderr, "velmora-gallery: the offender's history has no chart\n");
        return false;
    }
    memory->setRangeDays(7);
    return savePicture(host.grabPopover(dpr), dir, name);
}

bool renderAppearance(const QString& dir, const QString& look) {
    bool ok = true;
    for (const auto& scenario : ScenarioLibrary::allScenarios()) {
        ok &= renderPopover(liveState(scenario.snapshot), dir,
                            QStringLiteral("popover-%1-%2")
                                .arg(QString::fromUtf8(scenario.name.data(),
                                                       static_cast<int>(scenario.name.size())),
                                     look));
    }
    ok &= renderPopover(liveState(ScenarioLibrary::detailOpened()), dir,
                        QStringLiteral("detail-%1").arg(look));

    PopoverRenderState history = liveState(ScenarioLibrary::suspect());
    history.surface = PopoverSurface::advanced;
    history.advancedHistory = ScenarioLibrary::advancedHistory();
    ok &= renderPopover(history, dir, QStringLiteral("history-list-%1").arg(look));
    const auto& offenders = ScenarioLibrary::advancedHistory().offenders;
    if (!offenders.empty()) {
        history.advancedHistory = ScenarioLibrary::advancedHistoryDetail(offenders.front().key);
        ok &= renderPopover(history, dir, QStringLiteral("history-detail-%1").arg(look));
        ok &= renderOffenderWeek(history, dir, QStringLiteral("history-detail-week-%1").arg(look));
    }

    PopoverRenderState confirmation = liveState(ScenarioLibrary::suspect());
    const std::string target =
        confirmation.snapshot.rows.empty() ? "demo" : confirmation.snapshot.rows.front().key;
    confirmation.snapshot.destructiveConfirmation = ScenarioLibrary::forceQuitConfirmation(target);
    ok &= renderPopover(confirmation, dir, QStringLiteral("confirmation-%1").arg(look));

    PopoverRenderState banner = liveState(ScenarioLibrary::actionFeedback());
    banner.visibleActionFeedback = banner.snapshot.actionFeedback;
    if (!banner.visibleActionFeedback) {
        banner.visibleActionFeedback =
            ActionFeedbackSnapshot{"gallery", ActionFeedbackKind::success, "Restart requested",
                                   "Velmora asked the process family to restart."};
    }
    ok &= renderPopover(banner, dir, QStringLiteral("feedback-banner-%1").arg(look));

    PopoverRenderState tooltip = liveState(ScenarioLibrary::multiRowSuspect());
    const auto tooltips = VerdictTooltipCatalog::bundled().orderedTooltips();
    if (!tooltips.empty()) {
        tooltip.activeVerdictTooltip = tooltips.front();
    }
    ok &= renderPopover(tooltip, dir, QStringLiteral("verdict-tooltip-%1").arg(look));

    // The monitor was killed: the last rows, two minutes old, under the notice; then the same
    // after the restarts were given up.
    using namespace std::chrono_literals;
    MonitorLinkState link;
    link.cause = MonitorLinkCause::killedBySignal;
    link.code = 9;
    link.recovery = MonitorRecovery::scheduled;
    PopoverRenderState notWatching = liveState(ScenarioLibrary::suspect());
    notWatching.notWatching = notWatchingNotice(link, 4s, 2min);
    ok &= renderPopover(notWatching, dir, QStringLiteral("not-watching-%1").arg(look));
    link.cause = MonitorLinkCause::exited;
    link.code = 3;
    link.recovery = MonitorRecovery::gaveUp;
    notWatching = liveState(ScenarioLibrary::criticalRunaway());
    notWatching.notWatching = notWatchingNotice(link, std::nullopt, 14min);
    ok &= renderPopover(notWatching, dir, QStringLiteral("not-watching-gave-up-%1").arg(look));

    // Before the monitor's first answer: starting, then not watching, and no data either time.
    link = MonitorLinkState{};
    link.cause = MonitorLinkCause::starting;
    PopoverRenderState starting = liveState(PopoverSnapshot{});
    starting.monitorLink = link; // no answer yet, so no data
    starting.notWatching = notWatchingNotice(link, std::nullopt, std::nullopt);
    ok &= renderPopover(starting, dir, QStringLiteral("starting-%1").arg(look));
    link.cause = MonitorLinkCause::notAnswering;
    link.recovery = MonitorRecovery::scheduled;
    starting.notWatching = notWatchingNotice(link, 1s, std::nullopt);
    ok &= renderPopover(starting, dir, QStringLiteral("starting-not-answering-%1").arg(look));

    VerdictHelpView help;
    help.setCatalog(VerdictTooltipCatalog::bundled());
    help.resize(520, 640);
    help.show();
    ok &= savePicture(renderWidget(help), dir, QStringLiteral("verdict-help-%1").arg(look));
    return ok;
}

bool renderTray(const QString& dir, const QString& look) {
    bool ok = true;
    for (const SnapshotTone tone : allCases<SnapshotTone>()) {
        for (const int suspects : {0, 3, 12}) {
            const QString name = QStringLiteral("%1-%2-%3")
                                     .arg(QString::fromUtf8(toWire(tone).data(),
                                                            static_cast<int>(toWire(tone).size())))
                                     .arg(suspects)
                                     .arg(look);
            ok &= savePicture(renderTrayGlyph(traySnapshot(tone, suspects), dpr), dir,
                              QStringLiteral("tray-glyph-") + name);
        }
    }
    TrayIconLook notWatching;
    notWatching.notWatching = true;
    ok &= savePicture(renderTrayGlyph(notWatching, dpr), dir,
                      QStringLiteral("tray-glyph-not-watching-%1").arg(look));
    return ok;
}

// The detail saved in `path`, light and dark.
bool renderSavedDetail(const QString& path, const QString& dir) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "velmora-gallery: cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray text = file.readAll();
    auto snapshot = savedDetailSnapshot(std::string_view(text.constData(), text.size()));
    if (!snapshot) {
        std::fprintf(stderr, "velmora-gallery: %s: %s\n", qPrintable(path),
                     snapshot.error().text().c_str());
        return false;
    }
    bool ok = true;
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        ok &= renderPopover(liveState(snapshot.value()), dir,
                            QStringLiteral("detail-%1-%2")
                                .arg(QFileInfo(path).completeBaseName(),
                                     dark ? QStringLiteral("dark") : QStringLiteral("light")));
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--out"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fprintf(stderr, "usage: velmora-gallery --out DIR\n");
        return 2;
    }
    const QString dir = args.at(at + 1);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "velmora-gallery: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    MotionAnimator::setAnimationsEnabled(false);
    const int detail = args.indexOf(QStringLiteral("--detail"));
    if (detail >= 0) {
        if (detail + 1 >= args.size()) {
            std::fprintf(stderr, "usage: velmora-gallery --out DIR --detail FILE\n");
            return 2;
        }
        return renderSavedDetail(args.at(detail + 1), dir) ? 0 : 1;
    }
    bool ok = true;
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        const QString look = dark ? QStringLiteral("dark") : QStringLiteral("light");
        ok &= renderAppearance(dir, look);
        ok &= renderTray(dir, look);
    }
    ok &= renderTrayPanels(dir);
    return ok ? 0 : 1;
}
