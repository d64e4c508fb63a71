// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NotificationMemoryFile.h"

#include "base/AtomicFile.h"
#include "base/DiagnosticLog.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

namespace velmora {
namespace {

constexpr const char* prefix = "velmora-ui: notification memory ";

int64_t systemMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

NotificationMemoryFile::NotificationMemoryFile(std::filesystem::path path, WallClock wallClock,
                                               std::shared_ptr<Scheduler> scheduler)
    : path_(std::move(path)),
      wallClock_(wallClock ? std::move(wallClock) : WallClock(systemMilliseconds)),
      scheduler_(std::move(scheduler)), writer_({}, "Velmora.Memory") {}

NotificationMemoryFile::~NotificationMemoryFile() {
    flush();
}

std::filesystem::path NotificationMemoryFile::defaultPath(const Environment& environment) {
    return xdgBaseDirectory(environment, "XDG_STATE_HOME", ".local/state") / "velmora" /
           "notifications.json";
}

std::optional<NotificationMemory> NotificationMemoryFile::load() {
    std::error_code error;
    const auto status = std::filesystem::status(path_, error);
    if (!std::filesystem::exists(status)) {
        return std::nullopt; // the first run, or one after a fresh start
    }
    const auto size = std::filesystem::file_size(path_, error);
    if (!std::filesystem::is_regular_file(status) || error || size > maxFileBytes) {
        writeDiagnosticLine(std::string(prefix) + path_.string() +
                            " is not a small file; starting fresh");
        return std::nullopt;
    }
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    auto memory = in ? decodeNotificationMemory(text.str(), wallClock_()) : std::nullopt;
    if (!memory) {
        writeDiagnosticLine(std::string(prefix) + path_.string() +
                            " could not be read; starting fresh");
    }
    return memory;
}

void NotificationMemoryFile::save(const NotificationMemory& memory) {
    // Encoded now: the ages in it are stamped with the time they were taken at.
    std::string text = encodeNotificationMemory(memory, wallClock_());
    if (!scheduler_) {
        handOver(std::move(text));
        return;
    }
    settling_ = std::move(text);
    if (!settleTimer_) {
        settleTimer_ = scheduler_->postAfter(settleTime, [this] {
            settleTimer_.reset();
            handOver(std::move(*settling_));
            settling_.reset();
        });
    }
}

void NotificationMemoryFile::flush() {
    if (settleTimer_) {
        settleTimer_->cancel();
        settleTimer_.reset();
    }
    if (settling_) {
        handOver(std::move(*settling_));
        settling_.reset();
    }
    writer_.waitForIdle();
}

void NotificationMemoryFile::handOver(std::string text) {
    std::lock_guard lock(mutex_);
    const bool writerHasIt = waiting_.has_value(); // its task will take the newer text
    waiting_ = std::move(text);
    if (!writerHasIt) {
        writer_.post([this] { writeLatest(); });
    }
}

void NotificationMemoryFile::writeLatest() {
    std::string text;
    {
        std::lock_guard lock(mutex_);
        text = std::move(*waiting_);
        waiting_.reset();
    }
    write(text);
}

void NotificationMemoryFile::write(const std::string& text) const {
    try {
        std::filesystem::create_directories(path_.parent_path());
        std::filesystem::permissions(path_.parent_path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        if (auto failed = writeFileAtomically(path_, text, 0644)) {
            writeDiagnosticLine(std::string(prefix) + "not saved: " + failed->message);
        }
    } catch (const std::exception& failure) {
        writeDiagnosticLine(std::string(prefix) + "not saved: " + failure.what());
    }
}

} // namespace velmora
