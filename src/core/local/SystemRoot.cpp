#include "core/local/SystemRoot.h"

#include <QDir>

namespace morvex {

SystemRoot::SystemRoot(QString root)
    : m_root(QDir::cleanPath(root.isEmpty() ? QStringLiteral("/") : root))
{
}

QString SystemRoot::filePath(QStringView path) const
{
    QStringView relative = path;
    while (relative.startsWith(u'/'))
        relative = relative.mid(1);
    return QDir::cleanPath(m_root + u'/' + relative);
}

} // namespace morvex
