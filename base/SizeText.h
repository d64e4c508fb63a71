#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A size given in KiB as display text, in binary units with one decimal: "512.0 KB", "8.0 GB".
std::string formatKiB(uint64_t kib);
std::string formatKiB(double kib);

} // namespace velmora
