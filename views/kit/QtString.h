// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace velmora {

// A snapshot's UTF-8 text as a widget shows it.
inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace velmora
