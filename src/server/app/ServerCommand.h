#pragma once

#include <QStringList>

namespace morvex::server {

// Runs morvex-server with its arguments (the program name first) and returns the exit code:
//   --init-demo DB [--stock N] [--register-identity ID [--as USER]]
//   --db DB --bind-identity ID --as USER
//   [--db FILE] [--listen ADDR] [--port N] [--allow-remote]
// Serving blocks until SIGINT or SIGTERM.
int runServerCommand(const QStringList &arguments);

} // namespace morvex::server
