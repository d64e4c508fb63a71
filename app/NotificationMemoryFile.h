// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"
#include "link/SerialWorker.h"
#include "state/NotificationMemory.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace velmora {

// The notification memory in a file of the app's state directory, written atomically. A file
// that is missing, too large, unreadable or not a memory is no memory (one diagnostic line when
// it exists but cannot be used): the app starts fresh and never fails for it. A save that fails
// writes one diagnostic line and leaves the app running.
//
// Saving never waits for the disk: the memory is encoded at once and written (with its flushes
// to disk) on a thread of its own. With a scheduler, the saves of a burst of changes settle
// into one write of the latest memory, settleTime after the first; whatever is still to be
// written is written before the file object goes, so quitting loses nothing.
class NotificationMemoryFile final : public NotificationMemoryStore {
public:
    // Larger files are not read: the memory is bounded far below this.
    static constexpr std::uintmax_t maxFileBytes = 256 * 1024;
    static constexpr std::chrono::seconds settleTime{1};

    using WallClock = std::function<int64_t()>; // milliseconds since the epoch

    // Without a scheduler every save goes to the writer at once (it still keeps only the latest
    // of those waiting).
    explicit NotificationMemoryFile(std::filesystem::path path, WallClock wallClock = {},
                                    std::shared_ptr<Scheduler> scheduler = {});
    // Writes what is still to be written, and waits for it.
    ~NotificationMemoryFile() override;
    NotificationMemoryFile(const NotificationMemoryFile&) = delete;
    NotificationMemoryFile& operator=(const NotificationMemoryFile&) = delete;

    // "$XDG_STATE_HOME/velmora/notifications.json", "~/.local/state/velmora/notifications.json"
    // when that is unset or not absolute.
    static std::filesystem::path defaultPath(const Environment& environment);

    std::optional<NotificationMemory> load() override;
    // Main thread (the scheduler's); returns without touching the disk.
    void save(const NotificationMemory& memory) override;
    // Writes the latest memory saved now, without waiting for the burst to settle, and returns
    // once it is on disk.
    void flush();

    const std::filesystem::path& path() const { return path_; }

private:
    // Hands `text` to the writer thread, in place of any text still waiting there.
    void handOver(std::string text);
    void writeLatest(); // on the writer thread
    void write(const std::string& text) const;

    const std::filesystem::path path_;
    WallClock wallClock_;
    std::shared_ptr<Scheduler> scheduler_;
    std::optional<std::string> settling_; // saved, waiting for the burst to end
    std::shared_ptr<TimerHandle> settleTimer_;
    std::mutex mutex_;
    std::optional<std::string> waiting_; // handed over, not yet taken by the writer
    SerialWorker writer_;                // last: joined before anything above goes away
};

} // namespace velmora
