// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VerdictTooltipCatalog.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <QScrollArea>

namespace velmora {

// A labelled paragraph of the verdict help: the upper-cased label over a text that wraps fully.
// Object names inside: "helpLabel", "helpText".
class VerdictHelpLine : public QWidget {
    Q_OBJECT
public:
    explicit VerdictHelpLine(QWidget* parent = nullptr);

    void setLine(const QString& label, const QString& text);

private:
    VelmoraText* label_;
    VelmoraText* text_;
};

// One verdict: its title, then what it means, when it is a false positive and the posture to
// take. Object names: "verdictHelp:<id>", inside it "helpTitle", "means", "falsePositive",
// "posture".
class VerdictHelpBlock : public QWidget {
    Q_OBJECT
public:
    explicit VerdictHelpBlock(QWidget* parent = nullptr);

    void setTooltip(const VerdictTooltip& tooltip);

private:
    VelmoraText* title_;
    VerdictHelpLine* means_;
    VerdictHelpLine* falsePositive_;
    VerdictHelpLine* posture_;
};

// The scrollable page explaining every verdict of the catalog, in the catalog's order, under
// the heading "What do the verdicts mean?". Object names: "verdictHelpView", "helpHeading".
class VerdictHelpView : public QScrollArea {
    Q_OBJECT
public:
    explicit VerdictHelpView(QWidget* parent = nullptr);

    void setCatalog(const VerdictTooltipCatalog& catalog);
    std::vector<VerdictHelpBlock*> blocks() const { return blocks_.widgets(); }

protected:
    bool event(QEvent* event) override;

private:
    void applyBackground();

    std::optional<VerdictTooltipCatalog> catalog_;
    QWidget* page_;
    QWidget* blockList_;
    KeyedWidgetList<VerdictHelpBlock> blocks_;
};

} // namespace velmora
