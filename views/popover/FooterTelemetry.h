// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/ShellCommand.h"
#include "model/PopoverSnapshot.h"
#include "views/kit/VelmoraPalette.h"

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QHBoxLayout;

namespace velmora {

class FooterCommandButton;
class VelmoraText;

enum class FooterCommandRole { advancedHistory, exportReport, openSettings, quit };
enum class FooterCommandTone { watch, suspect, utility, critical };

PaletteColor footerCommandColor(FooterCommandTone tone);

// One button of the command cluster; `role` is also its identity.
struct FooterCommandItem {
    FooterCommandRole role;
    std::string iconName;
    std::string accessibilityLabel;
    std::string helpText;
    FooterCommandTone tone;
    bool operator==(const FooterCommandItem&) const = default;
};

// The history button (in its shown or not-shown form) and export; settings and quit too unless
// the layout is focused and the history is not shown.
std::vector<FooterCommandItem> footerCommandItems(bool isFocusedIncidentLayout,
                                                  bool isShowingAdvancedHistory);

// A labelled storage fact of the footer ("STORAGE" over its value).
class FooterTelemetryChip : public QWidget {
    Q_OBJECT
public:
    FooterTelemetryChip(const QString& label, QWidget* parent = nullptr);
    void setValue(const QString& value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    VelmoraText* value_;
};

// The footer of the card: a hairline rule, the storage chips (list layout only) and the command
// cluster at the trailing edge.
class FooterTelemetry : public QWidget {
    Q_OBJECT
public:
    struct Callbacks {
        std::function<void()> onToggleAdvancedHistory;
        std::function<void(ShellCommand)> onCommand;
    };

    explicit FooterTelemetry(QWidget* parent = nullptr);

    void setCallbacks(Callbacks callbacks) { callbacks_ = std::move(callbacks); }
    // `pendingCommands` answers the command pending test. Without `hasData` (the monitor has not
    // answered yet) the storage chips are not shown: their texts are placeholders.
    void setContent(const FooterTelemetrySnapshot& telemetry, bool isShowingAdvancedHistory,
                    bool isFocusedIncidentLayout,
                    const std::function<bool(ShellCommand)>& isPending, bool hasData = true);

    // The buttons in cluster order (for tests and the keyboard order).
    std::vector<FooterCommandButton*> buttons() const;
    // Dims the storage chips as out of date (the commands stay as they are).
    void setOutOfDate(bool outOfDate);
    FooterCommandButton* button(FooterCommandRole role) const;
    double ruleOpacity() const { return ruleOpacity_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tap(FooterCommandRole role);

    Callbacks callbacks_;
    QWidget* chips_;
    FooterTelemetryChip* storage_;
    FooterTelemetryChip* retention_;
    QWidget* cluster_;
    QHBoxLayout* clusterLayout_;
    std::vector<std::pair<FooterCommandRole, FooterCommandButton*>> buttons_;
    double ruleOpacity_ = 1.0;
};

} // namespace velmora
