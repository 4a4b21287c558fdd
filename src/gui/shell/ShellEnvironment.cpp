#include "gui/shell/ShellEnvironment.h"

#include "core/local/ComputerIdentity.h"
#include "core/local/HostInfo.h"
#include "core/local/UserFolders.h"
#include "gui/common/MessageDialog.h"

#include <QDesktopServices>
#include <QDir>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace morvex {

void ShellEnvironment::completeWithDefaults()
{
    if (!messages) {
        static DialogMessageBoxes dialogs;
        messages = &dialogs;
    }
    if (!exitProcess) {
        exitProcess = [](int code) {
            std::fflush(nullptr);
            std::_Exit(code);
        };
    }
    if (!today)
        today = [] { return QDate::currentDate(); };
    if (!openUrl)
        openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    if (settingsPath.isEmpty())
        settingsPath = dataFolder() + u"/ayar.ini"_s;
    if (!local.computerIdentity)
        local.computerIdentity = [] { return computerIdentity(); };
    if (!local.computerName)
        local.computerName = [] { return computerName(); };
    if (!local.userName)
        local.userName = [] { return userName(); };
    if (!local.ipv4Address)
        local.ipv4Address = [] { return ipv4Address(); };
}

} // namespace morvex
