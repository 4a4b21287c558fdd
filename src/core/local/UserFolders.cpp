#include "core/local/UserFolders.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

QString existingFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    QDir().mkpath(clean);
    return clean;
}

QString userFolder(const char *overrideVariable, QStandardPaths::StandardLocation location)
{
    QString path = qEnvironmentVariable(overrideVariable);
    if (path.isEmpty())
        path = QStandardPaths::writableLocation(location);
    if (path.isEmpty())
        path = QDir::homePath();
    return existingFolder(path);
}

} // namespace

QString dataFolderIn(const QString &applicationDataRoot)
{
    const QString root = applicationDataRoot.isEmpty() ? QDir::tempPath() : applicationDataRoot;
    return existingFolder(root + u"/morvex"_s);
}

QString dataFolder()
{
    QString root = qEnvironmentVariable("MORVEX_DATA_HOME");
    if (root.isEmpty())
        root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dataFolderIn(root);
}

QString documentsFolder()
{
    return userFolder("MORVEX_DOCUMENTS_DIR", QStandardPaths::DocumentsLocation);
}

QString desktopFolder()
{
    return userFolder("MORVEX_DESKTOP_DIR", QStandardPaths::DesktopLocation);
}

} // namespace morvex
