// SPDX-License-Identifier: GPL-3.0-or-later
// velmora: the Linux monitor behind velmora-ui. "velmora ui-backend" answers one JSON line on
// standard output for every request line on standard input; diagnostics go to standard error.

#include "monitor/live/LiveMonitor.h"
#include "monitor/serve/ServeOptions.h"
#include "monitor/serve/ServeRunner.h"
#include "monitor/session/MonitorSession.h"
#include "monitor/where/WhereCommand.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "0.0.0"
#endif

namespace {

void printUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: velmora ui-backend\n"
                 "       velmora serve [--listen ADDRESS:PORT] [--textfile PATH]\n"
                 "                     [--interval SECONDS] [--all-users]\n"
                 "%s"
                 "       velmora --help | --version\n\n"
                 "Watches your own processes for memory that keeps growing. In ui-backend mode it\n"
                 "reads one JSON request per line on standard input and answers each with one\n"
                 "JSON line on standard output; velmora-ui starts it this way.\n"
                 "In serve mode it runs on its own and exports what it finds as Prometheus\n"
                 "metrics (velmora serve --help for its options).\n\n"
                 "where attaches heaptrack to a process (or starts a program under it with\n"
                 "--launch) for N seconds (60, at most 600) and prints the allocation sites\n"
                 "whose memory was not freed meanwhile, with their call stacks; the recording\n"
                 "is kept with the evidence. It needs the Debian packages heaptrack and gdb.\n\n"
                 "Settings: $XDG_CONFIG_HOME/velmora/config.json (default ~/.config/velmora)\n"
                 "Data:     $XDG_DATA_HOME/velmora (default ~/.local/share/velmora)\n",
                 velmora::whereUsage());
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        printUsage(stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("velmora %s\n", VELMORA_VERSION);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "serve") == 0) {
        velmora::ServeArguments args =
            velmora::parseServeArguments(std::vector<std::string>(argv + 2, argv + argc));
        if (args.help) {
            std::fputs(velmora::kServeUsage, stdout);
            return 0;
        }
        if (!args.error.empty()) {
            std::fprintf(stderr, "velmora serve: %s\n", args.error.c_str());
            return 2;
        }
        return velmora::runServe(args.options);
    }
    if (argc >= 2 && std::strcmp(argv[1], "where") == 0) {
        return velmora::runWhereCommand({argv + 2, argv + argc}, stdout, stderr);
    }
    if (argc != 2 || std::strcmp(argv[1], "ui-backend") != 0) {
        printUsage(stderr);
        return 2;
    }
    return velmora::runSession(0, 1);
}
