// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AuxiliaryWindows.h"

#include "app/TrustAccessPanel.h"
#include "base/ResourcesDirectory.h"
#include "state/PopoverViewModel.h"
#include "state/VerdictTooltipCatalog.h"
#include "views/kit/VelmoraType.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#if __has_include("views/help/VerdictHelpView.h")
#include "views/help/VerdictHelpView.h"
#define VELMORA_HAVE_VERDICT_HELP_VIEW 1
#endif

namespace velmora {

void presentWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

QIcon applicationIcon() {
    auto share = resourcesDirectory();
    if (share.filename().empty()) {
        share = share.parent_path(); // a trailing slash
    }
    const QDir hicolor(
        QString::fromStdString((share.parent_path() / "icons" / "hicolor").string()));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        const QString path = hicolor.filePath(QStringLiteral("%1x%1/apps/velmora.png").arg(size));
        if (QFileInfo::exists(path)) {
            icon.addFile(path, QSize(size, size));
        }
    }
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral("velmora")) : icon;
}

TrustAccessWindow::TrustAccessWindow(std::shared_ptr<PopoverViewModel> viewModel, QWidget* parent)
    : QWidget(parent), viewModel_(std::move(viewModel)) {
    setObjectName(QString::fromLatin1(identifier));
    setWindowTitle(tr("What Velmora accesses"));
    resize(560, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    panel_ = new TrustAccessPanelView(
        [this] { viewModel_->sendCommand(ShellCommand::openDataFolder); }, this);
    layout->addWidget(panel_);
    panel_->setTrust(viewModel_->snapshot().trustAccess);
    observation_ = viewModel_->observe([this](const ViewModelChange& change) {
        if (change.has(ViewModelField::snapshot)) {
            panel_->setTrust(viewModel_->snapshot().trustAccess);
        }
    });
}

TrustAccessWindow::~TrustAccessWindow() = default;

VerdictHelpWindow::VerdictHelpWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromLatin1(identifier));
    setWindowTitle(tr("What do the verdicts mean?"));
    resize(560, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef VELMORA_HAVE_VERDICT_HELP_VIEW
    auto* help = new VerdictHelpView(this);
    help->setCatalog(VerdictTooltipCatalog::bundled());
    layout->addWidget(help);
#else
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* body = new QWidget(scroll);
    auto* list = new QVBoxLayout(body);
    list->setContentsMargins(20, 20, 20, 20);
    for (const auto& tooltip : VerdictTooltipCatalog::bundled().orderedTooltips()) {
        auto* title = new QLabel(QString::fromStdString(tooltip.title), body);
        title->setFont(velmoraFont(TypeRole::title));
        list->addWidget(title);
        auto* meaning = new QLabel(QString::fromStdString(tooltip.meaning), body);
        meaning->setWordWrap(true);
        meaning->setFont(velmoraFont(TypeRole::body));
        list->addWidget(meaning);
    }
    list->addStretch();
    scroll->setWidget(body);
    layout->addWidget(scroll);
#endif
}

} // namespace velmora
