// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/SectionBlock.h"

namespace velmora {

class ProgressSpinner;

// A block titled "ADVANCED" with a title and a message that grows as it needs.
// Object names inside: "emptyTitle", "emptyMessage".
class AdvancedHistoryEmptyState : public SectionBlock {
    Q_OBJECT
public:
    explicit AdvancedHistoryEmptyState(QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& message);
    QString titleText() const;
    QString messageText() const;

private:
    VelmoraText* title_;
    VelmoraText* message_;
};

// The empty state while the first history is being fetched, with a spinner over its centre.
// Object name "advancedHistoryLoading", spinner "loadingSpinner".
class AdvancedHistoryLoadingView : public AdvancedHistoryEmptyState {
    Q_OBJECT
public:
    explicit AdvancedHistoryLoadingView(QWidget* parent = nullptr);

    ProgressSpinner* spinner() const { return spinner_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ProgressSpinner* spinner_;
};

} // namespace velmora
