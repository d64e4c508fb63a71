// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/DescriptorLimit.h"

#include <algorithm>
#include <sys/resource.h>

namespace velmora {

void raiseDescriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 65536);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace velmora
