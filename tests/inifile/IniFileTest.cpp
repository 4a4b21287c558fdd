#include "core/inifile/IniFile.h"
#include "core/inifile/RememberedLogin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

const QString kRemember = u"hat\u0131rla"_s;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

unsigned modeOf(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : ~0u;
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class AyarIni : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(u"ayar.ini"_s); }
};

} // namespace

TEST_F(AyarIni, WritesUtf8KeyAsIsWithCrlfAndOwnerOnlyPermissions)
{
    ASSERT_TRUE(
        writeRememberedLogin(path(), { u"\u015eEN\u0130\u011e"_s, u"\u00c7\u00d6\u00dc\u0131"_s, true }));

    const QByteArray bytes = readAll(path());
    EXPECT_TRUE(bytes.contains("hat\xC4\xB1rla=1\r\n")) << bytes.toStdString();
    EXPECT_FALSE(bytes.contains("%U")) << "escaped key as QSettings writes it";
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(bytes.contains("\n\n"));
    EXPECT_EQ(modeOf(path()), 0600);

    const RememberedLogin back = readRememberedLogin(path());
    EXPECT_EQ(back.userName, u"\u015eEN\u0130\u011e"_s);
    EXPECT_EQ(back.password, u"\u00c7\u00d6\u00dc\u0131"_s);
    EXPECT_TRUE(back.remember);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1)
        << "temporary file left behind";
}

// Files as other programs left them: the Windows client (cp1254), editors with a BOM or LF ends.
TEST_F(AyarIni, ReadsEveryEncodingTheKeyAndTurkishLettersSurvive)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        IniFile::Encoding encoding;
    };
    const QString isim = u"\u015e\u0130RKET"_s; // ŞİRKET
    const QString sifre = u"\u00c7\u00d6\u011e\u00dc"_s; // ÇÖĞÜ
    QByteArray utf16("\xFF\xFE", 2);
    const QString utf16Text
        = u"[kullanici]\r\nisim="_s + isim + u"\r\nsifre="_s + sifre + u"\r\n"_s + kRemember + u"=0\r\n"_s;
    utf16.append(reinterpret_cast<const char *>(utf16Text.utf16()), utf16Text.size() * 2);
    const Case cases[] = {
        { "cp1254 CRLF",
            QByteArray("[kullanici]\r\nisim=\xDE\xDDRKET\r\nsifre=\xC7\xD6\xD0\xDC\r\nhat\xFDrla=0\r\n"),
            IniFile::Encoding::Windows1254 },
        { "utf8 BOM CRLF",
            QByteArray("\xEF\xBB\xBF[kullanici]\r\nisim=\xC5\x9E\xC4\xB0RKET\r\nsifre="
                       "\xC3\x87\xC3\x96\xC4\x9E\xC3\x9C\r\nhat\xC4\xB1rla=0\r\n"),
            IniFile::Encoding::Utf8 },
        { "utf8 LF, blanks around",
            QByteArray(" [ kullanici ] \nisim = \xC5\x9E\xC4\xB0RKET\nsifre=\xC3\x87\xC3\x96\xC4\x9E\xC3\x9C "
                       "\nhat\xC4\xB1rla =0\n"),
            IniFile::Encoding::Utf8 },
        { "utf16 BOM", utf16, IniFile::Encoding::Utf16 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const IniFile ini = IniFile::fromBytes(c.bytes);
        EXPECT_EQ(ini.sourceEncoding(), c.encoding);
        EXPECT_EQ(ini.value(u"kullanici", u"isim"), isim);
        EXPECT_EQ(ini.value(u"kullanici", u"sifre"), sifre);
        EXPECT_TRUE(ini.contains(u"kullanici", kRemember));
        EXPECT_FALSE(ini.boolValue(u"kullanici", kRemember, true));

        // Read through the file and rewritten: still the same values, now in UTF-8.
        writeAll(path(), c.bytes);
        RememberedLogin login = readRememberedLogin(path());
        EXPECT_FALSE(login.remember);
        EXPECT_TRUE(login.userName.isEmpty()) << "boxes stay empty when hatırla is off";
        ASSERT_TRUE(writeRememberedLogin(path(), { isim, sifre, true }));
        login = readRememberedLogin(path());
        EXPECT_EQ(login.userName, isim);
        EXPECT_EQ(login.password, sifre);
        EXPECT_TRUE(login.remember);
        EXPECT_EQ(IniFile::fromBytes(readAll(path())).sourceEncoding(), IniFile::Encoding::Utf8);
    }
}

TEST_F(AyarIni, MissingOrUnreadableFileGivesDefaults)
{
    RememberedLogin login = readRememberedLogin(path());
    EXPECT_TRUE(login.remember);
    EXPECT_TRUE(login.userName.isEmpty());
    EXPECT_TRUE(login.password.isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"ayar.ini"_s)); // a folder where the file should be
    login = readRememberedLogin(path());
    EXPECT_TRUE(login.remember);
    EXPECT_TRUE(login.userName.isEmpty());
    QString error;
    EXPECT_FALSE(writeRememberedLogin(path(), { u"A"_s, u"B"_s, true }, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(AyarIni, KeyWithoutLettersMatchingDefaultsToRememberAndMissingKeysAreEmpty)
{
    // Only the ASCII "hatirla" (dotted i): not our key, so the default (true) applies.
    writeAll(path(), "[kullanici]\r\nhatirla=0\r\nisim=AHMET\r\n");
    const RememberedLogin login = readRememberedLogin(path());
    EXPECT_TRUE(login.remember);
    EXPECT_EQ(login.userName, u"AHMET"_s);
    EXPECT_TRUE(login.password.isEmpty());
}

TEST(IniFile, ValuesWithBlanksOrQuotesReadBackUnchanged)
{
    const QString values[] = { u"  ALI "_s, u"\"QUOTED\""_s, u"A=B;C"_s, u""_s, u" "_s, u"\""_s };
    IniFile ini;
    int i = 0;
    for (const QString &v : values)
        ASSERT_TRUE(ini.setValue(u"s", QString::number(i++), v));
    const IniFile back = IniFile::fromBytes(ini.toBytes());
    i = 0;
    for (const QString &v : values)
        EXPECT_EQ(back.value(u"s", QString::number(i++)), v) << v.toStdString();
}

TEST(IniFile, RejectsLineBreaksInValues)
{
    IniFile ini;
    EXPECT_FALSE(ini.setValue(u"kullanici", u"isim", u"A\nB"_s));
    EXPECT_FALSE(ini.contains(u"kullanici", u"isim"));
}

TEST(IniFile, BooleansReadAsTheWindowsClientDid)
{
    const IniFile ini = IniFile::fromBytes("[s]\nzero=0\none=1\ntwo=2\nword=evet\nempty=\n");
    EXPECT_FALSE(ini.boolValue(u"s", u"zero", true));
    EXPECT_TRUE(ini.boolValue(u"s", u"one", false));
    EXPECT_TRUE(ini.boolValue(u"s", u"two", false));
    EXPECT_TRUE(ini.boolValue(u"s", u"word", true));
    EXPECT_FALSE(ini.boolValue(u"s", u"word", false));
    EXPECT_TRUE(ini.boolValue(u"s", u"empty", true));
    EXPECT_TRUE(ini.boolValue(u"s", u"missing", true));
}

TEST_F(AyarIni, RewriteKeepsOtherContentAndTightensPermissions)
{
    writeAll(
        path(), "; kept comment\r\n[diger]\r\nanahtar=deger\r\n[KULLANICI]\r\nISIM=ESKI\r\nnot=kalsin\r\n");
    ASSERT_TRUE(QFile::setPermissions(
        path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    ASSERT_TRUE(writeRememberedLogin(path(), { u"YENI"_s, u"S"_s, false }));

    const IniFile ini = IniFile::fromBytes(readAll(path()));
    EXPECT_EQ(ini.value(u"diger", u"anahtar"), u"deger"_s);
    EXPECT_EQ(ini.value(u"kullanici", u"not"), u"kalsin"_s);
    EXPECT_EQ(ini.value(u"kullanici", u"isim"), u"YENI"_s);
    EXPECT_FALSE(ini.boolValue(u"kullanici", kRemember, true));
    EXPECT_TRUE(readAll(path()).startsWith("; kept comment\r\n"));
    EXPECT_EQ(readAll(path()).count("[KULLANICI]"), 1) << "the existing section is reused";
    EXPECT_EQ(modeOf(path()), 0600);
}

TEST_F(AyarIni, FailedSaveLeavesNoFile)
{
    QString error;
    const QString inMissingFolder = dir.filePath(u"missing/ayar.ini"_s);
    EXPECT_FALSE(writeRememberedLogin(inMissingFolder, { u"A"_s, u"B"_s, true }, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(inMissingFolder));
}
