// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/AppSettings.h"

#include <memory>
#include <set>
#include <string>

namespace velmora {

// Remembers which verdict tooltips the user has dismissed. Called from the main thread.
class VerdictTooltipDismissalStore {
public:
    virtual ~VerdictTooltipDismissalStore() = default;
    virtual bool isDismissed(const std::string& id) const = 0;
    virtual void dismiss(const std::string& id) = 0;
};

// Dismissals kept for the life of the object only.
class MemoryVerdictTooltipDismissalStore final : public VerdictTooltipDismissalStore {
public:
    bool isDismissed(const std::string& id) const override { return dismissedIDs_.contains(id); }
    void dismiss(const std::string& id) override { dismissedIDs_.insert(id); }
    const std::set<std::string>& dismissedIDs() const { return dismissedIDs_; }

private:
    std::set<std::string> dismissedIDs_;
};

// Dismissals kept in the app's preferences (settingsKeys::dismissedVerdictTooltips). Every call
// reads (and a dismissal rewrites) the stored value; nothing is cached. A value that is not a
// list of strings counts as empty and is replaced by the next dismissal.
class StoredVerdictTooltipDismissals final : public VerdictTooltipDismissalStore {
public:
    explicit StoredVerdictTooltipDismissals(std::shared_ptr<AppSettings> settings);

    bool isDismissed(const std::string& id) const override;
    void dismiss(const std::string& id) override;

private:
    std::shared_ptr<AppSettings> settings_;
};

} // namespace velmora
