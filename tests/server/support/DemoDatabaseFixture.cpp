#include "DemoDatabaseFixture.h"

#include "server/demo/DemoDatabase.h"

#include <QFile>
#include <QMap>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex::test {

namespace {

QString templateFor(int stockCount)
{
    static QTemporaryDir templates;
    static QMap<int, QString> made;
    if (!made.contains(stockCount)) {
        server::DemoOptions options;
        options.stockCount = stockCount;
        const QString path = templates.filePath(u"demo-%1.db"_s.arg(stockCount));
        server::createDemoDatabase(path, options);
        made.insert(stockCount, path);
    }
    return made.value(stockCount);
}

} // namespace

DemoDatabaseFixture::DemoDatabaseFixture(int stockCount) : m_path(m_dir.filePath(u"morvex.db"_s))
{
    if (!QFile::copy(templateFor(stockCount), m_path))
        throw std::runtime_error("cannot copy the demo database");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace morvex::test
