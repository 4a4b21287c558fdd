#pragma once

namespace morvex {

// The start-up notices (notice line, banner, advertisement count and exchange rates, tab
// badges, opening advertisements) plug into the main window's start-up load through this.
class StartupNotices
{
public:
    virtual ~StartupNotices() = default;
    // On the start-up load's worker thread, after the seller labels. Each loader opens its own
    // clone in reporting mode and applies what it loaded on the UI thread.
    virtual void runLoaders() = 0;
    // On the UI thread once the worker has ended: the opening-advertisement step.
    virtual void afterStartupLoad() = 0;
};

} // namespace morvex
