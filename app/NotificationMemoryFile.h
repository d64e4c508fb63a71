#pragma once

#include "base/Environment.h"
#include "state/NotificationMemory.h"

#include <cstdint>
#include <filesystem>
#include <functional>

namespace velmora {

// The notification memory in a file of the app's state directory, written atomically. A file
// that is missing, too large, unreadable or not a memory is no memory (one diagnostic line when
// it exists but cannot be used): the app starts fresh and never fails for it. A save that fails
// writes one diagnostic line and leaves the app running.
class NotificationMemoryFile final : public NotificationMemoryStore {
public:
    // Larger files are not read: the memory is bounded far below this.
    static constexpr std::uintmax_t maxFileBytes = 256 * 1024;

    using WallClock = std::function<int64_t()>; // milliseconds since the epoch

    explicit NotificationMemoryFile(std::filesystem::path path, WallClock wallClock = {});

    // "$XDG_STATE_HOME/velmora/notifications.json", "~/.local/state/velmora/notifications.json"
    // when that is unset or not absolute.
    static std::filesystem::path defaultPath(const Environment& environment);

    std::optional<NotificationMemory> load() override;
    void save(const NotificationMemory& memory) override;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    WallClock wallClock_;
};

} // namespace velmora
