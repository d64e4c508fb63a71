// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "views/kit/SurfacePanel.h"

namespace velmora {

class LabeledValueList;
class SymbolView;
class TextLineList;

// The detail's collapsed "DIAGNOSTICS" section: raw identity and evidence lines and the metric
// rows, shown when the user expands it. The expanded flag lives as long as the widget.
class DiagnosticsDisclosure : public Panel {
    Q_OBJECT
public:
    explicit DiagnosticsDisclosure(QWidget* parent = nullptr);

    void setDiagnostics(const DiagnosticsBlock& block);
    bool isExpanded() const { return expanded_; }
    void setExpanded(bool expanded);

private:
    bool expanded_ = false;
    PanelButton* toggle_;
    SymbolView* chevron_;
    QWidget* content_;
    TextLineList* identityLines_;
    TextLineList* evidenceLines_;
    LabeledValueList* metrics_;
};

} // namespace velmora
