#pragma once

#include <QString>
#include <QTemporaryDir>

namespace morvex::test {

// A fresh copy of a small demo database (built once per test process) in its own folder.
class DemoDatabaseFixture
{
public:
    explicit DemoDatabaseFixture(int stockCount = 300);
    const QString &path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace morvex::test
