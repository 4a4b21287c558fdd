#include "core/local/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const QString &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

TEST(DataFolder, CreatedOnFirstUseWithoutTrailingSeparator)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString expected = root.path() + u"/morvex"_s;
    for (const QString &given : QStringList{root.path(), root.path() + u'/', root.path() + u"/./"_s}) {
        const QString folder = dataFolderIn(given);
        EXPECT_EQ(folder, expected);
        EXPECT_TRUE(QFileInfo(folder).isDir());
    }

    const ScopedEnvironment home("MORVEX_DATA_HOME", root.path() + u"/nested/config"_s);
    EXPECT_EQ(dataFolder(), root.path() + u"/nested/config/morvex"_s);
    EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
}

TEST(DataFolder, UncreatableFolderIsStillNamed)
{
    QTemporaryDir root;
    QFile blocker(root.filePath(u"file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = dataFolderIn(blocker.fileName());
    EXPECT_EQ(folder, blocker.fileName() + u"/morvex"_s);
    EXPECT_FALSE(QFileInfo(folder).isDir());
}

TEST(UserFolders, DocumentsAndDesktopAreCreatedWhenMissing)
{
    QTemporaryDir root;
    const ScopedEnvironment documents("MORVEX_DOCUMENTS_DIR", root.path() + u"/Belgeler/"_s);
    const ScopedEnvironment desktop("MORVEX_DESKTOP_DIR", root.path() + u"/Masaüstü"_s);
    EXPECT_EQ(documentsFolder(), root.path() + u"/Belgeler"_s);
    EXPECT_EQ(desktopFolder(), root.path() + u"/Masaüstü"_s);
    EXPECT_TRUE(QFileInfo(root.path() + u"/Belgeler"_s).isDir());
    EXPECT_TRUE(QFileInfo(root.path() + u"/Masaüstü"_s).isDir());
}

} // namespace
