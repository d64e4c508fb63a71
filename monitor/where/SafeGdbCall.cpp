// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/SafeGdbCall.h"

#include "monitor/where/ToolProcess.h"

#include <csignal>

namespace velmora {
namespace {

// Run by gdb's Python; COMMANDS is filled in before it, as a list of strings.
const char* const kScript = R"py(import gdb
def busy_frames(thread):
    thread.switch()
    frames = []
    frame = gdb.newest_frame()
    for _ in range(128):
        if frame is None:
            break
        where = (gdb.solib_name(frame.pc()) or "") + " " + (frame.name() or "")
        if "heaptrack" in where or any(f in where for f in ("malloc", "free", "calloc", "realloc", "memalign")):
            frames.append(frame)
        try:
            frame = frame.older()
        except gdb.error:
            break
    return frames
inferior = gdb.selected_inferior()
threads = [t for t in inferior.threads() if t.is_valid()]
main = next((t for t in threads if t.ptid[1] == inferior.pid), threads[0])
free = [t for t in threads if not busy_frames(t)]
thread = main if main.num in [t.num for t in free] else (free[0] if free else main)
for attempt in range(8):
    frames = busy_frames(thread)
    if not frames:
        break
    try:
        frames[-1].select()
        gdb.execute("finish", to_string=True)
    except gdb.error:
        break
if busy_frames(thread):
    print("velmora: busy")
else:
    for command in COMMANDS:
        thread.switch()
        gdb.execute(command)
    print("velmora: done")
)py";

std::string hexOf(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : text) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

// The script with its commands, as one gdb command line: hex keeps every byte of the commands
// (quotes, paths) out of gdb's and Python's quoting.
std::string pythonCommand(const std::vector<std::string>& commands) {
    std::string list = "COMMANDS = [";
    for (const std::string& command : commands) {
        list += "bytes.fromhex('" + hexOf(command) + "').decode(), ";
    }
    list += "]\n";
    return "python exec(bytes.fromhex('" + hexOf(list + kScript) + "').decode())";
}

bool contains(const std::string& text, const char* fragment) {
    return text.find(fragment) != std::string::npos;
}

} // namespace

GdbCall callFromSafeThread(const std::string& gdb, pid_t pid,
                           const std::vector<std::string>& libraries,
                           const std::vector<std::string>& commands, double seconds) {
    std::vector<std::string> arguments{
        "gdb", "--batch", "-n", "-iex", "set auto-solib-add off", "-p", std::to_string(pid)};
    for (const std::string& library : libraries) {
        arguments.insert(arguments.end(), {"-ex", "sharedlibrary " + library});
    }
    arguments.insert(arguments.end(), {"-ex", pythonCommand(commands), "-ex", "detach"});
    GdbCall call;
    auto tool = ToolProcess::start(gdb, arguments, {}, call.output);
    if (!tool) {
        return call;
    }
    auto status = tool->waitFor(seconds, call.output);
    bool overran = !status;
    if (overran) {
        ::kill(tool->pid(), SIGINT);
        tool->waitFor(10, call.output);
    }
    if (contains(call.output, "ptrace: Operation not permitted") ||
        contains(call.output, "Could not attach to process")) {
        call.result = GdbCallResult::refused;
    } else if (contains(call.output, "velmora: done")) {
        call.result = GdbCallResult::done;
    } else if (overran) {
        call.result = GdbCallResult::timedOut;
    } else if (contains(call.output, "velmora: busy")) {
        call.result = GdbCallResult::busy;
    }
    return call;
}

} // namespace velmora
