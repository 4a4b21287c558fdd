#pragma once

#include <QString>
#include <QStringView>

namespace morvex {

// The filesystem root under which system files (sysfs, installed programs) are looked up.
// "/" on a running system; tests point it at small fixture trees.
class SystemRoot
{
public:
    explicit SystemRoot(QString root = QStringLiteral("/"));

    // Where the absolute system path `path` (e.g. "/sys/block") lies under this root.
    QString filePath(QStringView path) const;

private:
    QString m_root;
};

} // namespace morvex
