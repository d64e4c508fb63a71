#include "monitor/history/ByteText.h"

#include <cstdio>

namespace velmora {

std::string byteSizeText(uint64_t bytes) {
    char text[32];
    if (bytes >= kGiB) {
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / kGiB);
    } else if (bytes >= kMiB) {
        std::snprintf(text, sizeof text, "%llu MB", static_cast<unsigned long long>(bytes / kMiB));
    } else {
        std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>(bytes / 1024));
    }
    return text;
}

} // namespace velmora
