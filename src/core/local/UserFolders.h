#pragma once

#include <QString>

namespace morvex {

// The per-user data folder: `morvex` inside the user's configuration location (XDG config
// home, normally ~/.config). MORVEX_DATA_HOME, when set, replaces that location (tests). When
// no location can be determined the folder goes into the temporary folder. Created if missing;
// a failure to create it shows when a file in it is written. No trailing separator.
QString dataFolder();
QString dataFolderIn(const QString &applicationDataRoot);

// The user's documents and desktop folders (MORVEX_DOCUMENTS_DIR and MORVEX_DESKTOP_DIR
// override them), created if missing so that downloads saved there do not fail; the home
// folder when the system names none. No trailing separator.
QString documentsFolder();
QString desktopFolder();

} // namespace morvex
