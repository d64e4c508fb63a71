// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationMenu.h"

namespace velmora {

ApplicationMenu::ApplicationMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("applicationMenu"));
    const auto item = [this](const QString& title, const char* name, auto signal) {
        auto* action = addAction(title);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, signal);
    };
    // Items that tell rather than do.
    const auto inert = [this](const QString& title, const char* name) {
        auto* action = addAction(title);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(false);
        return action;
    };
    item(tr("About Velmora"), "aboutAction", &ApplicationMenu::aboutRequested);
    //: Opens the window that lists what Velmora reads, writes and sends.
    item(tr("What Velmora accesses\u2026"), "trustAccessAction",
         &ApplicationMenu::trustAccessRequested);
    item(tr("What do the verdicts mean?"), "verdictHelpAction",
         &ApplicationMenu::verdictHelpRequested);
    item(tr("Settings\u2026"), "settingsAction", &ApplicationMenu::settingsRequested);
    //: Always disabled: the system's package manager updates Velmora.
    inert(tr("Check for Updates\u2026"), "checkForUpdatesAction");
    addSeparator();
    //: Replaced by "Version 0.1.0" once the version is known.
    version_ = inert(tr("Version"), "versionAction");
    addSeparator();
    item(tr("Quit Velmora"), "quitAction", &ApplicationMenu::quitRequested);
}

void ApplicationMenu::setVersion(const QString& version) {
    //: The disabled menu item that shows the installed version, as in "Version 0.1.0".
    version_->setText(tr("Version %1").arg(version));
}

} // namespace velmora
