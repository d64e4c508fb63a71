#pragma once

#include "state/KeyValueStore.h"

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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

// Dismissals kept in the user's preferences, under `key`, as a list of distinct ids sorted in
// code-point order. Every call reads (and a dismissal rewrites) the stored value; nothing is
// cached. A value that is not a list of strings counts as empty and is replaced by the next
// dismissal.
class KeyValueVerdictTooltipDismissalStore final : public VerdictTooltipDismissalStore {
public:
    static constexpr std::string_view defaultKey = "Velmora.dismissedVerdictTooltips";

    explicit KeyValueVerdictTooltipDismissalStore(std::shared_ptr<KeyValueStore> defaults,
                                                  std::string key = std::string(defaultKey));

    bool isDismissed(const std::string& id) const override;
    void dismiss(const std::string& id) override;

    const std::string& key() const { return key_; }

private:
    std::vector<std::string> storedIDs() const;

    std::shared_ptr<KeyValueStore> defaults_;
    std::string key_;
};

} // namespace velmora
