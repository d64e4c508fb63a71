// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TrustAccessSnapshot.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace velmora {

class TrustClaimView;

// One claim: title (with an optional action button), claim text, verify title and lines.
// The claim text and the verify lines are selectable so that paths can be copied.
struct TrustClaim {
    QString title;
    QString claim;
    QString verifyTitle;
    QStringList verifyLines;
    std::optional<QString> actionTitle;
};

// The five claims for a trust snapshot, in order.
std::vector<TrustClaim> trustClaims(const TrustAccessSnapshot& trust);

// The claims, stacked; "Open Data Dir" calls `onOpenDataDir`. A new snapshot updates the
// claims in place.
class TrustAccessClaimsView : public QWidget {
    Q_OBJECT
public:
    explicit TrustAccessClaimsView(std::function<void()> onOpenDataDir, QWidget* parent = nullptr);
    ~TrustAccessClaimsView() override;
    void setTrust(const TrustAccessSnapshot& trust);

private:
    std::function<void()> onOpenDataDir_;
    std::vector<TrustClaimView*> claims_;
    std::optional<TrustAccessSnapshot> shown_;
};

// The "What Velmora accesses" panel: heading, subtitle, the claims, in a scroll area.
class TrustAccessPanelView : public QWidget {
    Q_OBJECT
public:
    explicit TrustAccessPanelView(std::function<void()> onOpenDataDir, QWidget* parent = nullptr);
    void setTrust(const TrustAccessSnapshot& trust);

private:
    TrustAccessClaimsView* claims_;
};

} // namespace velmora
