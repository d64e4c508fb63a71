// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/FooterTelemetry.h"

#include "state/FooterTexts.h"
#include "views/kit/FooterCommandButton.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/OutOfDate.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

namespace velmora {

namespace {

constexpr int stackSpacing = 10;

// The cluster's rounded background.
class CommandCluster : public QWidget {
public:
    explicit CommandCluster(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("footerCommandCluster"));
        repaintOnAppearanceChange(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const auto& palette = VelmoraPalette::current();
        paintSurface(painter, QRectF(rect()), 11, palette.color(PaletteColor::utilitySurface, 0.72),
                     palette.color(PaletteColor::utilityStroke, 0.48));
    }
};

const char* roleName(FooterCommandRole role) {
    switch (role) {
    case FooterCommandRole::advancedHistory:
        return "advancedHistory";
    case FooterCommandRole::exportReport:
        return "exportReport";
    case FooterCommandRole::openSettings:
        return "openSettings";
    case FooterCommandRole::quit:
        return "quit";
    }
    return "unknown";
}

} // namespace

PaletteColor footerCommandColor(FooterCommandTone tone) {
    switch (tone) {
    case FooterCommandTone::watch:
        return PaletteColor::watchText;
    case FooterCommandTone::suspect:
        return PaletteColor::suspectText;
    case FooterCommandTone::utility:
        return PaletteColor::coolStroke;
    case FooterCommandTone::critical:
        return PaletteColor::criticalText;
    }
    return PaletteColor::coolStroke;
}

std::vector<FooterCommandItem> footerCommandItems(bool isFocusedIncidentLayout,
                                                  bool isShowingAdvancedHistory) {
    // The label a screen reader says is also the button's tooltip.
    const auto item = [](FooterCommandRole role, const char* icon, const QString& label,
                         FooterCommandTone tone) {
        const std::string text = label.toStdString();
        return FooterCommandItem{role, icon, text, text, tone};
    };
    std::vector<FooterCommandItem> items;
    if (isShowingAdvancedHistory) {
        items.push_back(
            item(FooterCommandRole::advancedHistory, "velmora-live",
                 QCoreApplication::translate("velmora::FooterTelemetry", "Return to live triage"),
                 FooterCommandTone::watch));
    } else {
        items.push_back(
            item(FooterCommandRole::advancedHistory, "document-open-recent",
                 QCoreApplication::translate("velmora::FooterTelemetry", "Open advanced history"),
                 FooterCommandTone::watch));
    }
    items.push_back(item(FooterCommandRole::exportReport, "document-send",
                         QCoreApplication::translate("velmora::FooterTelemetry", "Export report"),
                         FooterCommandTone::suspect));
    if (!isFocusedIncidentLayout || isShowingAdvancedHistory) {
        items.push_back(
            item(FooterCommandRole::openSettings, "preferences-system",
                 QCoreApplication::translate("velmora::FooterTelemetry", "Open settings"),
                 FooterCommandTone::utility));
        items.push_back(
            item(FooterCommandRole::quit, "application-exit",
                 QCoreApplication::translate("velmora::FooterTelemetry", "Quit Velmora"),
                 FooterCommandTone::critical));
    }
    return items;
}

FooterTelemetryChip::FooterTelemetryChip(const QString& label, QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(3);
    auto* title =
        new VelmoraText(label, TypeRole::caption, {PaletteColor::coolStroke, 1.0, {}}, this);
    title->setRole(TypeRole::caption, QFont::DemiBold);
    title->setUppercase(true);
    title->setLineLimit(1);
    value_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::mutedText, 1.0, {}}, this);
    value_->setRole(TypeRole::caption, QFont::DemiBold);
    value_->setLineLimit(1);
    column->addWidget(title);
    column->addWidget(value_);
    // The two chips share the row equally whatever their texts: a chip takes no width from its
    // value, which truncates at the tail when it is longer than its half.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    repaintOnAppearanceChange(this);
}

void FooterTelemetryChip::setValue(const QString& value) {
    value_->setText(value);
}

void FooterTelemetryChip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& palette = VelmoraPalette::current();
    paintSurface(painter, QRectF(rect()), 11, palette.color(PaletteColor::inset, 0.95),
                 palette.color(PaletteColor::insetStroke, 0.36));
}

FooterTelemetry::FooterTelemetry(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("footerTelemetry"));
    // The rule is painted in the top pixel; the first row keeps the stack's spacing of 10 below
    // it (a spacer item would take that spacing away).
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 1 + stackSpacing, 0, 0);
    column->setSpacing(stackSpacing);

    chips_ = new QWidget(this);
    chips_->setObjectName(QStringLiteral("footerChips"));
    auto* chipRow = new QHBoxLayout(chips_);
    chipRow->setContentsMargins(0, 0, 0, 0);
    chipRow->setSpacing(8);
    storage_ = new FooterTelemetryChip(
        //: The footer chip with the size of Velmora's stored history.
        tr("Storage"), chips_);
    storage_->setObjectName(QStringLiteral("storageChip"));
    retention_ = new FooterTelemetryChip(
        //: The footer chip with how long Velmora keeps its history.
        tr("Retention"), chips_);
    retention_->setObjectName(QStringLiteral("retentionChip"));
    chipRow->addWidget(storage_, 1);
    chipRow->addWidget(retention_, 1);
    column->addWidget(chips_);

    auto* commandRow = new QHBoxLayout();
    commandRow->addStretch(1);
    cluster_ = new CommandCluster(this);
    clusterLayout_ = new QHBoxLayout(cluster_);
    clusterLayout_->setContentsMargins(4, 4, 4, 4);
    clusterLayout_->setSpacing(8);
    commandRow->addWidget(cluster_);
    column->addLayout(commandRow);
    repaintOnAppearanceChange(this);
}

void FooterTelemetry::setContent(const FooterTelemetrySnapshot& telemetry,
                                 bool isShowingAdvancedHistory, bool isFocusedIncidentLayout,
                                 const std::function<bool(ShellCommand)>& isPending, bool hasData) {
    storage_->setValue(QString::fromStdString(storageChipText(telemetry)));
    retention_->setValue(QString::fromStdString(pruneChipText(telemetry)));
    chips_->setVisible(!isFocusedIncidentLayout && hasData);

    const double rule = (isFocusedIncidentLayout && !isShowingAdvancedHistory) ? 0.36 : 1.0;
    if (rule != ruleOpacity_) {
        ruleOpacity_ = rule;
        update(0, 0, width(), 1);
    }

    // Buttons are kept by role: a role that stays keeps its widget and its state.
    const auto items = footerCommandItems(isFocusedIncidentLayout, isShowingAdvancedHistory);
    std::vector<std::pair<FooterCommandRole, FooterCommandButton*>> next;
    for (const auto& item : items) {
        auto found = std::find_if(buttons_.begin(), buttons_.end(),
                                  [&](const auto& entry) { return entry.first == item.role; });
        FooterCommandButton* button = nullptr;
        if (found != buttons_.end()) {
            button = found->second;
            buttons_.erase(found);
        } else {
            button = new FooterCommandButton(cluster_);
            button->setObjectName(QStringLiteral("footerCommand_%1").arg(roleName(item.role)));
            button->setOnTap([this, role = item.role] { tap(role); });
        }
        button->setSymbol(item.iconName);
        button->setLabel(QString::fromStdString(item.accessibilityLabel),
                         QString::fromStdString(item.helpText));
        button->setTint(footerCommandColor(item.tone));
        switch (item.role) {
        case FooterCommandRole::advancedHistory:
            button->setPending(false);
            button->setActive(isShowingAdvancedHistory);
            break;
        case FooterCommandRole::exportReport:
            button->setPending(isPending && isPending(ShellCommand::exportReport));
            button->setActive(false);
            break;
        case FooterCommandRole::openSettings:
            button->setPending(false);
            button->setActive(false);
            break;
        case FooterCommandRole::quit:
            button->setPending(isPending && isPending(ShellCommand::quit));
            button->setActive(false);
            break;
        }
        next.emplace_back(item.role, button);
    }
    for (const auto& stale : buttons_) {
        stale.second->hide();
        stale.second->deleteLater();
    }
    buttons_ = std::move(next);
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        if (clusterLayout_->indexOf(buttons_[i].second) != i) {
            clusterLayout_->removeWidget(buttons_[i].second);
            clusterLayout_->insertWidget(i, buttons_[i].second);
        }
        buttons_[i].second->show();
    }
}

void FooterTelemetry::setOutOfDate(bool outOfDate) {
    velmora::setOutOfDate(chips_, outOfDate);
}

std::vector<FooterCommandButton*> FooterTelemetry::buttons() const {
    std::vector<FooterCommandButton*> out;
    for (const auto& entry : buttons_) {
        out.push_back(entry.second);
    }
    return out;
}

FooterCommandButton* FooterTelemetry::button(FooterCommandRole role) const {
    for (const auto& entry : buttons_) {
        if (entry.first == role) {
            return entry.second;
        }
    }
    return nullptr;
}

void FooterTelemetry::tap(FooterCommandRole role) {
    switch (role) {
    case FooterCommandRole::advancedHistory:
        if (callbacks_.onToggleAdvancedHistory) {
            callbacks_.onToggleAdvancedHistory();
        }
        return;
    case FooterCommandRole::exportReport:
        if (callbacks_.onCommand) {
            callbacks_.onCommand(ShellCommand::exportReport);
        }
        return;
    case FooterCommandRole::openSettings:
        if (callbacks_.onCommand) {
            callbacks_.onCommand(ShellCommand::openSettings);
        }
        return;
    case FooterCommandRole::quit:
        if (callbacks_.onCommand) {
            callbacks_.onCommand(ShellCommand::quit);
        }
        return;
    }
}

void FooterTelemetry::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRectF(0, 0, width(), 1),
                     VelmoraPalette::current().color(PaletteColor::footerRule, ruleOpacity_));
}

} // namespace velmora
