// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// Each line composed from its code at the same place, or the sent line where a code is unknown
// or the lists do not line up.
template <class Code, class Compose>
std::vector<std::string> linesShown(const std::vector<Code>& codes,
                                    const std::vector<std::string>& sent, Compose compose) {
    if (codes.size() != sent.size()) {
        return sent;
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        lines.push_back(compose(codes[i]).value_or(sent[i]));
    }
    return lines;
}

} // namespace velmora
