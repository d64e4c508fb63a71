// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "views/kit/SurfacePanel.h"

#include <functional>

namespace velmora {

class DetailActionChip;

// A suggested command line with its explanation and the chip of the action that copies it
// (the backend does the copying). Object names: "nextCommand:<action id>", inside it
// "command", "commandExplanation", "commandChip".
class NextCommandRow : public Panel {
    Q_OBJECT
public:
    explicit NextCommandRow(QWidget* parent = nullptr);

    void setNextCommand(const NextCommandDescriptor& command);
    void setPending(bool pending);
    void setOnCopy(std::function<void()> onCopy);
    DetailActionChip* chip() const { return chip_; }

private:
    VelmoraText* command_;
    VelmoraText* explanation_;
    DetailActionChip* chip_;
};

} // namespace velmora
