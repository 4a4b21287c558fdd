#pragma once

#include "core/wire/DataSnapServer.h"

#include <QtGlobal>

#include <atomic>

namespace morvex::wire {

// Serves one accepted connection on the calling thread until the client disconnects, the
// connection fails or `stop` is raised.
void serveConnection(const ServerMethodRegistry &registry, const DataSnapServerOptions &options, qintptr descriptor,
                     const std::atomic<bool> &stop);

} // namespace morvex::wire
