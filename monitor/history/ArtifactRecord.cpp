// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/ArtifactRecord.h"

#include "monitor/history/ByteText.h"

namespace velmora {

std::string ArtifactRecord::sizeLabel() const {
    return byteSizeText(sizeBytes);
}

std::string ArtifactRecord::typeLabel() const {
    if (kind.empty()) {
        return "JSON";
    }
    std::string label = kind + " JSON";
    label[0] = static_cast<char>(label[0] - ('a' <= label[0] && label[0] <= 'z' ? 32 : 0));
    return label;
}

std::vector<std::string> ArtifactRecord::metaLines() const {
    return {"Path " + path, "Size " + sizeLabel(), "Type " + typeLabel()};
}

} // namespace velmora
