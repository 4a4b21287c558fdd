#include "core/local/BrowserHelpers.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Unreserved characters and the URL's delimiters (RFC 3986).
bool keptAsIs(char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("-._~:/?#[]@!$&'()*+,;=").contains(c);
}

} // namespace

QString urlEncode(const QString &address)
{
    const QByteArray utf8 = address.toUtf8();
    QByteArray encoded;
    encoded.reserve(utf8.size() * 3);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        const bool escapeStart =
            c == '%' && i + 2 < utf8.size() && isHexDigit(utf8.at(i + 1)) && isHexDigit(utf8.at(i + 2));
        if (keptAsIs(c) || escapeStart) {
            encoded.append(c);
        } else {
            encoded.append('%');
            encoded.append(QByteArray::number(quint8(c), 16).rightJustified(2, '0').toUpper());
        }
    }
    return QString::fromLatin1(encoded);
}

QStringList browserCandidates()
{
    return {
        u"/usr/bin/chromium"_s,
        u"/usr/bin/chromium-browser"_s,
        u"/snap/bin/chromium"_s,
        u"/usr/bin/google-chrome-stable"_s,
        u"/usr/bin/google-chrome"_s,
        u"/opt/google/chrome/google-chrome"_s,
        u"/usr/bin/firefox"_s,
        u"/usr/bin/firefox-esr"_s,
        u"/snap/bin/firefox"_s,
    };
}

QString installedBrowserPath(const SystemRoot &root)
{
    for (const QString &candidate : browserCandidates()) {
        const QFileInfo file(root.filePath(candidate));
        if (file.isFile() && file.isExecutable())
            return file.filePath();
    }
    return {};
}

int browserEngineVersion()
{
#ifdef MORVEX_WEBENGINE_MAJOR
    return MORVEX_WEBENGINE_MAJOR;
#else
    return 0;
#endif
}

} // namespace morvex
