// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/NotWatchingPanel.h"

#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"
#include "views/tray/TrayGlyph.h"

#include <QBoxLayout>
#include <QPainter>

namespace velmora {

// The tray's own not-watching (or starting) picture, so the popover and the tray look alike.
class NotWatchingIcon : public QWidget {
public:
    explicit NotWatchingIcon(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("notWatchingIcon"));
        setFixedSize(trayGlyphSize());
        repaintOnAppearanceChange(this);
    }

    void setStarting(bool starting) {
        if (starting != starting_) {
            starting_ = starting;
            update();
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        TrayIconLook look;
        look.notWatching = !starting_;
        look.starting = starting_;
        paintTrayGlyph(painter, look);
    }

private:
    bool starting_ = false;
};

namespace {

// The reason and what happens next on one line; when they do not fit, the line breaks at the
// dot between them and never inside either.
QString detailText(const NotWatchingNotice& notice) {
    const auto unbroken = [](const std::string& text) {
        return QString::fromStdString(text).replace(QLatin1Char(' '), QChar(0x00a0));
    };
    if (notice.next.empty()) {
        return unbroken(notice.reason);
    }
    return unbroken(notice.reason) + QStringLiteral("\u00a0\u00b7 ") + unbroken(notice.next);
}

} // namespace

NotWatchingPanel::NotWatchingPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("notWatchingNotice"));
    repaintOnAppearanceChange(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 12, 14, 12);
    row->setSpacing(10);
    icon_ = new NotWatchingIcon(this);
    row->addWidget(icon_, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout();
    column->setSpacing(4);
    title_ =
        new VelmoraText(QString(), TypeRole::title, {PaletteColor::neutralText, 1.0, {}}, this);
    title_->setObjectName(QStringLiteral("notWatchingTitle"));
    title_->setLineLimit(1);
    detail_ = new VelmoraText(QString(), TypeRole::body, {PaletteColor::mutedText, 1.0, {}}, this);
    detail_->setObjectName(QStringLiteral("notWatchingDetail"));
    detail_->setLineLimit(2);
    column->addWidget(title_);
    column->addWidget(detail_);

    auto* actions = new QHBoxLayout();
    actions->setSpacing(8);
    ActionCapsuleButton::Metrics metrics = ActionCapsuleButton::card();
    metrics.labelMode = ActionCapsuleButton::LabelMode::raw;
    restart_ = new ActionCapsuleButton(metrics, this);
    restart_->setObjectName(QStringLiteral("restartMonitorButton"));
    restart_->setAction(
        {"restart_monitor", tr("Restart monitor").toStdString(), ActionStyle::primary, ""});
    // The button keeps its whole label; the age beside it gives way first.
    restart_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    restart_->setOnTap([this] {
        if (onRestart_) {
            onRestart_();
        }
    });
    lastUpdated_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::mutedText, 1.0, {}}, this);
    lastUpdated_->setObjectName(QStringLiteral("notWatchingLastUpdated"));
    lastUpdated_->setLineLimit(1);
    lastUpdated_->setTextAlignment(Qt::AlignRight);
    actions->addWidget(restart_, 0, Qt::AlignVCenter);
    actions->addStretch(1);
    actions->addWidget(lastUpdated_, 0, Qt::AlignVCenter);
    column->addSpacing(4);
    column->addLayout(actions);
    row->addLayout(column, 1);
}

void NotWatchingPanel::setNotice(const NotWatchingNotice& notice) {
    if (notice == notice_) {
        return;
    }
    notice_ = notice;
    title_->setText(QString::fromStdString(notice.title));
    detail_->setText(detailText(notice));
    lastUpdated_->setText(QString::fromStdString(notice.lastUpdated));
    restart_->setPending(notice.restarting);
    // Starting, there is nothing to explain, to restart or to date: the title says it all.
    icon_->setStarting(notice.starting);
    detail_->setVisible(!notice.starting);
    restart_->setVisible(!notice.starting);
    lastUpdated_->setVisible(!notice.starting);
    setAccessibleName(QString::fromStdString(notice.title));
}

void NotWatchingPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto& palette = VelmoraPalette::current();
    paintSurface(painter, QRectF(rect()), 15, palette.color(PaletteColor::warmSurface),
                 palette.color(PaletteColor::warmStroke, 0.42));
}

} // namespace velmora
