#pragma once

#include <string>
#include <vector>

namespace morvex::bench {

struct LaunchOptions
{
    std::string key; // samples <key>.startup, <key>.init (ms) and <key>.peak (MiB)
    int runs = 7;
    std::string probeDir; // the folder holding generic/libbench_suite_paint_probe.so
    std::string windowClass; // only windows whose class name contains this count; empty: any
    int timeoutSeconds = 60;
    std::string scratchDir; // probe reports go here
    std::vector<std::string> command;
};

// Starts the command `runs` times (after one warm-up start) with the paint probe loaded and
// prints the time from spawning to the first painted window, the part of it until the
// application object existed, and the peak memory at the paint.
// Returns false when no run painted a window.
bool launchAndTime(const LaunchOptions &options);

} // namespace morvex::bench
