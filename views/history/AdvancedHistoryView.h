// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"

#include <QScrollArea>
#include <functional>
#include <optional>
#include <string>

namespace velmora {

class AdvancedHistoryDetailView;
class AdvancedHistoryEmptyState;
class AdvancedHistoryListView;
class AdvancedHistoryLoadingView;

// The recurring-offenders surface. It never fetches: it shows the latest history with the view
// model's loading flag and error text, and reports "back" and "select offender" through its
// closures. A history with a selected detail shows the detail; any other history the list;
// without a history, the loading view while fetching, otherwise the empty state.
// Object name: "advancedHistoryView"; screens "advancedHistoryDetail", "advancedHistoryList",
// "advancedHistoryLoading", "advancedHistoryUnavailable".
// The content is always exactly as wide as the viewport and only scrolls vertically, so long
// titles and tag rows shrink or truncate inside the card instead of running past its edge.
class AdvancedHistoryView : public QScrollArea {
    Q_OBJECT
public:
    enum class Screen { detail, list, loading, unavailable };

    explicit AdvancedHistoryView(QWidget* parent = nullptr);

    void setState(const std::optional<AdvancedHistorySnapshot>& history, bool isLoading,
                  const std::optional<std::string>& errorText);
    Screen screen() const { return screen_; }
    void setOnBack(std::function<void()> onBack);
    void setOnSelectOffender(std::function<void(const std::string&)> onSelect);

    AdvancedHistoryListView* listView() const { return list_; }
    AdvancedHistoryDetailView* detailView() const { return detail_; }

    // Inside the popover the surface is as tall as its content at the width it is given, up to
    // `maximumHeight`, and scrolls beyond that; 0 (the default) leaves its height to the owner.
    void setFitsContent(int maximumHeight);
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct State {
        std::optional<AdvancedHistorySnapshot> history;
        bool isLoading = false;
        std::optional<std::string> errorText;
        bool operator==(const State&) const = default;
    };

    void showScreen(Screen screen);

    std::optional<State> state_;
    Screen screen_ = Screen::unavailable;
    int fitMaximum_ = 0;
    AdvancedHistoryDetailView* detail_;
    AdvancedHistoryListView* list_;
    AdvancedHistoryLoadingView* loading_;
    AdvancedHistoryEmptyState* unavailable_;
};

} // namespace velmora
