#include "core/local/BrowserHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

TEST(UrlEncode, EscapesWhatMayNotStandInAnAddressAndKeepsItsShape)
{
    const struct
    {
        QString address;
        QString encoded;
    } cases[] = {
        {u"https://portal.example.com/velunkart.html?carino=12&sube=ZERDAL&firmasi=Çelik Oto Ltd. Şti.&bakiye=1.234,50"_s,
         u"https://portal.example.com/velunkart.html?carino=12&sube=ZERDAL&firmasi=%C3%87elik%20Oto%20Ltd.%20%C5%9Eti.&bakiye=1.234,50"_s},
        {u"https://h/p?firmasi=\"Öz\" <İğdır>&b=0"_s, u"https://h/p?firmasi=%22%C3%96z%22%20%3C%C4%B0%C4%9Fd%C4%B1r%3E&b=0"_s},
        {u"https://h/p?a=100% net&b=%41"_s, u"https://h/p?a=100%25%20net&b=%41"_s},
        {u"https://h/p?a=50%"_s, u"https://h/p?a=50%25"_s},
        {QString(), QString()},
    };
    for (const auto &c : cases) {
        const QString encoded = urlEncode(c.address);
        EXPECT_EQ(encoded, c.encoded) << c.address.toStdString();
        EXPECT_TRUE(encoded.isEmpty() || QUrl(encoded, QUrl::StrictMode).isValid()) << encoded.toStdString();
    }
}

TEST(UrlEncode, BrowserSeesTheSameQuery)
{
    const QString address = u"https://h/velunkart.html?carino=7&firmasi=Şahin & Oğulları Ltd&bakiye=-12,5"_s;
    EXPECT_EQ(QUrl::fromPercentEncoding(urlEncode(address).toUtf8()), address);
}

void makeFile(const QString &root, const QString &path, bool executable)
{
    const QString full = root + path;
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    file.setPermissions(permissions);
}

TEST(InstalledBrowserPath, FirstExecutableInFixedOrder)
{
    const struct
    {
        QList<std::pair<QString, bool>> files; // path, executable
        QString expected;
    } cases[] = {
        {{}, QString()},
        {{{u"/usr/bin/firefox"_s, true}}, u"/usr/bin/firefox"_s},
        {{{u"/usr/bin/firefox"_s, true}, {u"/opt/google/chrome/google-chrome"_s, true}},
         u"/opt/google/chrome/google-chrome"_s},
        {{{u"/usr/bin/firefox"_s, true}, {u"/usr/bin/google-chrome"_s, true}, {u"/usr/bin/chromium"_s, true}},
         u"/usr/bin/chromium"_s},
        {{{u"/usr/bin/chromium"_s, false}, {u"/snap/bin/firefox"_s, true}}, u"/snap/bin/firefox"_s},
    };
    for (const auto &c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        for (const auto &[path, executable] : c.files)
            makeFile(root.path(), path, executable);
        const QString expected = c.expected.isEmpty() ? QString() : root.path() + c.expected;
        EXPECT_EQ(installedBrowserPath(SystemRoot(root.path())), expected);
    }
}

TEST(InstalledBrowserPath, DirectoryWithABrowsersNameIsNotABrowser)
{
    QTemporaryDir root;
    QDir().mkpath(root.path() + u"/usr/bin/chromium"_s);
    EXPECT_EQ(installedBrowserPath(SystemRoot(root.path())), QString());
}

} // namespace
