// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ExecArguments.h"

namespace velmora {

std::vector<char*> execArguments(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const std::string& text : strings) {
        pointers.push_back(const_cast<char*>(text.c_str())); // exec never writes through them
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace velmora
