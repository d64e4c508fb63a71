// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the window tests: settings and trust texts at the long end of what a running
// monitor sends, and checks of what a person sees in a window made of standard widgets, run
// over the shown widget tree. Each finding is one line naming the widget and the numbers that
// are wrong.

#include "model/PopoverSnapshot.h"
#include "support/LayoutAudit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace velmora::testing {

// Every settings and trust text long enough to wrap at the Settings window's width, several
// retention lines, every trust list filled, and home-directory paths instead of "~".
inline PopoverSnapshot longTextSnapshot() {
    PopoverSnapshot snapshot;
    snapshot.refreshIntervalMs = 2500;
    SettingsSnapshot& settings = snapshot.settings;
    settings.samplingLine =
        "Enumerates every 0.5s while memory pressure is high and every 1s otherwise; active "
        "suspects every 2s with smaps_rollup detail; background targets every 10s.";
    settings.evidenceCaptureLine =
        "Wrapped dev sessions and pre-Force-Quit pressure assist may auto-capture local "
        "evidence, capped at 2 per session and 2 per process/day; captures older than the "
        "retention window are pruned on launch.";
    settings.safetyLine = "Auto-manage is off; restart, recover, and force quit stay "
                          "user-triggered, and every destructive action asks first.";
    settings.workspaceScopeLine = "Workspace attribution uses process paths, parent trees, "
                                  "command-line hints and the markers of the nearest project "
                                  "folder (.git, package.json, Cargo.toml).";
    settings.retentionLines = {
        "Artifacts: 14 days unless the local budget prunes earlier",
        "History: 30 days for recurring incident memory across restarts and upgrades",
        "Logs: 7 days for local troubleshooting",
        "Exports: kept until you delete them from the data folder",
        "Prune: on launch and every 1h",
        "Budget overflow: oldest artifacts first, never the incident you are looking at"};
    TrustAccessSnapshot& trust = snapshot.trustAccess;
    trust.processScope = "Same-user running processes only (uid 1000); processes of other "
                         "users and of the system stay unread.";
    trust.fileReadScope = "/proc files of your own processes, executable paths and workspace "
                          "markers; never source file contents.";
    trust.dataDir = "/home/alexandra.kowalczyk/.local/share/velmora";
    trust.configPath = "/home/alexandra.kowalczyk/.config/velmora/config.json";
    trust.artifactsDir = "/home/alexandra.kowalczyk/.local/share/velmora/artifacts";
    trust.logsDir = "/home/alexandra.kowalczyk/.local/share/velmora/logs";
    trust.fileWriteScope = "Local Velmora data under " + trust.dataDir + ".";
    trust.filesReadLastPass = {"/proc/PID/statm for 312 processes",
                               "/proc/PID/stat for 312 processes",
                               "/proc/PID/status for 41 processes",
                               "/proc/PID/smaps_rollup for 6 processes",
                               "/proc/PID/cmdline for 312 processes",
                               "/proc/PID/cgroup for 312 processes",
                               "/proc/meminfo",
                               "/proc/pressure/memory"};
    trust.recentNetworkCalls = {"No network call was recorded in this snapshot."};
    trust.doesNotDo = {"No telemetry.", "No analytics.", "No cloud sync.", "No background uploads.",
                       "No root helper or privileged daemon."};
    return snapshot;
}

inline std::vector<QWidget*> shownWidgets(const QWidget* root) {
    std::vector<QWidget*> shown;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->isVisible() && !widget->isWindow()) {
            shown.push_back(widget);
        }
    }
    return shown;
}

// Every shown label whose text, laid out at the label's width (wrapped where the label wraps),
// needs more room than the label has; every shown button narrower or lower than its text and
// indicator need.
inline std::vector<QString> clippedTexts(const QWidget* root) {
    std::vector<QString> findings;
    for (QWidget* widget : shownWidgets(root)) {
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            const QRect box = label->contentsRect();
            const int flags = Qt::AlignLeft | Qt::AlignTop |
                              (label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine);
            const QRect needed =
                QFontMetrics(label->font())
                    .boundingRect(QRect(0, 0, box.width(), 1 << 20), flags, label->text());
            if (needed.width() > box.width() || needed.height() > box.height()) {
                findings.push_back(QStringLiteral("%1: \"%2\" needs %3x%4 px, has %5x%6")
                                       .arg(widgetPath(label, root), label->text())
                                       .arg(needed.width())
                                       .arg(needed.height())
                                       .arg(box.width())
                                       .arg(box.height()));
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                   button && !button->text().isEmpty()) {
            const QSize needed = button->sizeHint();
            if (needed.width() > button->width() || needed.height() > button->height()) {
                findings.push_back(QStringLiteral("%1: \"%2\" needs %3x%4 px, has %5x%6")
                                       .arg(widgetPath(button, root), button->text())
                                       .arg(needed.width())
                                       .arg(needed.height())
                                       .arg(button->width())
                                       .arg(button->height()));
            }
        }
    }
    return findings;
}

// Every shown widget that lies, even in part, outside its parent. The page of a scroll area
// may run past the viewport's bottom (it scrolls) but must be exactly as wide as the viewport
// and must have no horizontal scroll bar.
inline std::vector<QString> misplacedChildren(const QWidget* root) {
    std::vector<QString> findings;
    for (QWidget* widget : shownWidgets(root)) {
        const QWidget* parent = widget->parentWidget();
        const QRect bounds = parent->rect();
        const QRect place = widget->geometry();
        const auto* area = qobject_cast<const QScrollArea*>(parent->parentWidget());
        const bool isPage = area != nullptr && area->viewport() == parent;
        if (isPage && area->horizontalScrollBar()->isVisible()) {
            findings.push_back(QStringLiteral("%1 scrolls sideways").arg(widgetPath(area, root)));
        }
        const bool outside = isPage ? place.left() != 0 || place.width() != bounds.width() ||
                                          place.height() < bounds.height()
                                    : !bounds.contains(place);
        if (outside) {
            findings.push_back(QStringLiteral("%1 at (%2, %3) %4x%5 lies outside its parent's "
                                              "%6x%7")
                                   .arg(widgetPath(widget, root))
                                   .arg(place.x())
                                   .arg(place.y())
                                   .arg(place.width())
                                   .arg(place.height())
                                   .arg(bounds.width())
                                   .arg(bounds.height()));
        }
    }
    return findings;
}

// Every shown, enabled label or check box whose text colour stands out from the background it
// is drawn on by less than 3:1 (for instance dark text left on a dark window).
inline std::vector<QString> illegibleTexts(const QWidget* root) {
    const auto luminance = [](const QColor& color) {
        const auto channel = [](float value) {
            return value <= 0.03928f ? value / 12.92f : std::pow((value + 0.055f) / 1.055f, 2.4f);
        };
        return 0.2126f * channel(color.redF()) + 0.7152f * channel(color.greenF()) +
               0.0722f * channel(color.blueF());
    };
    std::vector<QString> findings;
    for (QWidget* widget : shownWidgets(root)) {
        const bool drawsOnWindow =
            qobject_cast<QLabel*>(widget) != nullptr || qobject_cast<QCheckBox*>(widget) != nullptr;
        if (!drawsOnWindow || !widget->isEnabled()) {
            continue;
        }
        // Labels and check boxes draw on their parent's background.
        const QColor background = widget->parentWidget()->palette().color(QPalette::Window);
        const QColor text = widget->palette().color(widget->foregroundRole());
        const float lighter = std::max(luminance(text), luminance(background));
        const float darker = std::min(luminance(text), luminance(background));
        const float contrast = (lighter + 0.05f) / (darker + 0.05f);
        if (contrast < 3.0f) {
            findings.push_back(QStringLiteral("%1: text %2 on %3, contrast %4:1")
                                   .arg(widgetPath(widget, root), text.name(), background.name())
                                   .arg(contrast, 0, 'f', 2));
        }
    }
    return findings;
}

// The findings as one message, for a failed expectation.
inline std::string report(const std::vector<QString>& findings) {
    QStringList lines;
    for (const QString& finding : findings) {
        lines << finding;
    }
    return lines.join(QLatin1Char('\n')).toStdString();
}

} // namespace velmora::testing
