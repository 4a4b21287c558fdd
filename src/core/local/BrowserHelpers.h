#pragma once

#include "core/local/SystemRoot.h"

#include <QString>
#include <QStringList>

namespace morvex {

// The address with every character that may not stand in a URL percent-encoded as UTF-8
// (spaces, Turkish letters, quotes, a '%' not starting an escape). The URL's own delimiters
// and existing %XX escapes are kept, so the encoded address opens the same page.
QString urlEncode(const QString &address);

// Where Chromium, Chrome and Firefox are usually installed, in the order they are preferred.
QStringList browserCandidates();

// The first candidate that is an executable file under `root`, as a full path; empty if none.
QString installedBrowserPath(const SystemRoot &root = SystemRoot());

// Major version of the embedded web engine the client was built with; 0 without one.
int browserEngineVersion();

} // namespace morvex
