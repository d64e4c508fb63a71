// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingCodes.h"
#include "monitor/compose/ComposeContext.h"

namespace velmora {

// The codes and figures sent beside a row's texts; the same figures its texts are made of.
// A self-check target's row carries none: its texts are fixed.
FindingCodes rowCodesOf(const ComposeContext& context, const FamilyView& family);

// The incident's decision: the verdict, and the rate when one is measured.
CodeFigures decisionCodeOf(const FamilyAssessment& a);

// How much more the family holds over its rate window.
CodeFigures changeCodeOf(const FamilyAssessment& a);

} // namespace velmora
