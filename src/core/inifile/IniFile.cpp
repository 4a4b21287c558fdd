#include "core/inifile/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

    bool sameName(QStringView a, QStringView b)
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }

    QString decode(QByteArrayView bytes, IniFile::Encoding &encoding)
    {
        static constexpr char utf8Bom[] = "\xEF\xBB\xBF";
        if (bytes.startsWith(QByteArrayView(utf8Bom, 3))) {
            encoding = IniFile::Encoding::Utf8;
            QStringDecoder utf8(QStringDecoder::Utf8);
            return utf8(bytes.sliced(3));
        }
        if (bytes.size() >= 2
            && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
            encoding = IniFile::Encoding::Utf16;
            QStringDecoder utf16(bytes[0] == '\xFF' ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
            return utf16(bytes.sliced(2));
        }
        QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = strict(bytes);
        if (!strict.hasError()) {
            encoding = IniFile::Encoding::Utf8;
            return text;
        }
        // Not UTF-8: the Turkish Windows code page, which every byte sequence is valid in.
        encoding = IniFile::Encoding::Windows1254;
        QStringDecoder cp1254("windows-1254");
        if (cp1254.isValid())
            return cp1254(bytes);
        return QString::fromLatin1(bytes); // Qt built without ICU; keeps ASCII keys at least
    }

    QString unquote(QStringView value)
    {
        value = value.trimmed();
        if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
            value = value.sliced(1, value.size() - 2);
        return value.toString();
    }

    QString quoteIfNeeded(const QString &value)
    {
        if (value.isEmpty())
            return value;
        const bool blankEdge = value.front().isSpace() || value.back().isSpace();
        const bool quotedLook = value.size() >= 2 && value.front() == u'"' && value.back() == u'"';
        return blankEdge || quotedLook ? u'"' + value + u'"' : value;
    }

} // namespace

IniFile IniFile::fromBytes(QByteArrayView bytes)
{
    IniFile ini;
    const QString text = decode(bytes, ini.m_encoding);
    ini.m_sections.push_back(Section { QString(), false, {} });
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A lone CR also ends a line (files edited on old Macs or by hand).
        for (QStringView part : line.tokenize(u'\r')) {
            const QStringView trimmed = part.trimmed();
            if (trimmed.startsWith(u'[') && trimmed.contains(u']')) {
                const auto close = trimmed.indexOf(u']');
                ini.m_sections.push_back(
                    Section { trimmed.sliced(1, close - 1).trimmed().toString(), true, {} });
                continue;
            }
            const auto equals = part.indexOf(u'=');
            const bool comment = trimmed.startsWith(u';') || trimmed.startsWith(u'#');
            if (equals > 0 && !comment && !part.first(equals).trimmed().isEmpty()) {
                ini.m_sections.back().lines.push_back(
                    Line { part.first(equals).trimmed().toString(), unquote(part.sliced(equals + 1)) });
            } else if (!trimmed.isEmpty()) {
                ini.m_sections.back().lines.push_back(Line { QString(), part.toString() });
            }
        }
    }
    if (ini.m_sections.front().lines.empty())
        ini.m_sections.erase(ini.m_sections.begin());
    return ini;
}

bool IniFile::load(const QString &path, QString *error)
{
    *this = IniFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *this = fromBytes(bytes);
    return true;
}

QByteArray IniFile::toBytes() const
{
    QString text;
    for (const Section &section : m_sections) {
        if (section.hasHeader)
            text += u'[' + section.name + u"]\r\n"_s;
        for (const Line &line : section.lines) {
            if (line.key.isEmpty())
                text += line.text + u"\r\n"_s;
            else
                text += line.key + u'=' + quoteIfNeeded(line.text) + u"\r\n"_s;
        }
    }
    return text.toUtf8();
}

bool IniFile::save(const QString &path, QString *error) const
{
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + u'/' + target.fileName() + u".XXXXXX"_s);
    temp.setAutoRemove(true);
    // QTemporaryFile creates the file for its owner only, which the saved file keeps.
    if (!temp.open()) {
        if (error)
            *error = temp.errorString();
        return false;
    }
    const QByteArray bytes = toBytes();
    if (temp.write(bytes) != bytes.size() || !temp.flush() || ::fsync(temp.handle()) != 0) {
        if (error)
            *error = temp.errorString();
        return false;
    }
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray from = QFile::encodeName(temp.fileName());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

const IniFile::Section *IniFile::findSection(QStringView name) const
{
    for (const Section &section : m_sections) {
        if (section.hasHeader && sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

const IniFile::Line *IniFile::findLine(QStringView section, QStringView key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Line &line : s->lines) {
        if (!line.key.isEmpty() && sameName(line.key, key))
            return &line;
    }
    return nullptr;
}

bool IniFile::contains(QStringView section, QStringView key) const
{
    return findLine(section, key) != nullptr;
}

QString IniFile::value(QStringView section, QStringView key, const QString &defaultValue) const
{
    const Line *line = findLine(section, key);
    return line ? line->text : defaultValue;
}

bool IniFile::boolValue(QStringView section, QStringView key, bool defaultValue) const
{
    const Line *line = findLine(section, key);
    if (!line)
        return defaultValue;
    bool ok = false;
    const int number = line->text.toInt(&ok);
    return ok ? number != 0 : defaultValue;
}

bool IniFile::setValue(QStringView section, QStringView key, const QString &value)
{
    if (value.contains(u'\n') || value.contains(u'\r'))
        return false;
    auto *s = const_cast<Section *>(findSection(section));
    if (!s) {
        m_sections.push_back(Section { section.toString(), true, {} });
        s = &m_sections.back();
    }
    for (Line &line : s->lines) {
        if (!line.key.isEmpty() && sameName(line.key, key)) {
            line.text = value;
            return true;
        }
    }
    s->lines.push_back(Line { key.toString(), value });
    return true;
}

void IniFile::setBool(QStringView section, QStringView key, bool value)
{
    setValue(section, key, value ? u"1"_s : u"0"_s);
}

} // namespace morvex
