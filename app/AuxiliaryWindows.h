// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace velmora {

class Observation;
class PopoverViewModel;
class TrustAccessPanelView;

// The window "What Velmora accesses" (identifier "trust-access", 560 × 640): the trust panel of
// the current snapshot; "Open Data Dir" sends the open-data-folder command.
class TrustAccessWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrustAccessWindow(std::shared_ptr<PopoverViewModel> viewModel,
                               QWidget* parent = nullptr);
    ~TrustAccessWindow() override;
    static constexpr const char* identifier = "trust-access";

private:
    std::shared_ptr<PopoverViewModel> viewModel_;
    TrustAccessPanelView* panel_;
    std::unique_ptr<Observation> observation_;
};

// The window "What do the verdicts mean?" (identifier "verdict-help", 560 × 520).
class VerdictHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit VerdictHelpWindow(QWidget* parent = nullptr);
    static constexpr const char* identifier = "verdict-help";
};

// Brings a window to the front of the other applications.
void presentWindow(QWidget* window);

// Velmora's icon for its windows (and so for docks and task switchers): the sizes found under
// the icons/hicolor folder beside the resources directory (both an installed prefix and the
// build tree have one), else the "velmora" icon of the icon theme.
QIcon applicationIcon();

} // namespace velmora
