#pragma once

#include <QString>

namespace morvex {

// The client's start: reads --host and --port (defaults given by the build), creates the main
// window, which runs the login, and runs the application until the process ends.
int runClient(int argc, char *argv[], const QString &defaultHost, const QString &defaultPort);

} // namespace morvex
