// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/popover/PopoverRenderState.h"

#include <QWidget>

namespace velmora {

// The advanced-history surface of the popover, wired to the callbacks: back loads the list,
// an offender loads its history.
QWidget* createHistorySurface(QWidget* parent, const PopoverCallbacks& callbacks);
void renderHistorySurface(QWidget* surface, const PopoverRenderState& state);

} // namespace velmora
