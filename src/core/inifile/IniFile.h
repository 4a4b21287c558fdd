#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace morvex {

// A Windows-style INI file held in memory. QSettings cannot be used: it escapes non-ASCII keys
// (the remembered-login key `hatırla`) and cannot read the Turkish Windows code page, so a file
// written by the old Windows client would lose its key.
//
// Reading: a UTF-8 or UTF-16 byte-order mark decides the encoding; without one the bytes are
// taken as strict UTF-8 and, if they are not valid UTF-8, as Windows-1254. Lines may end in CRLF,
// LF or CR. Section and key names match case-insensitively, as on Windows; values lose the
// blanks around them, and one pair of double quotes around a value is removed.
// Writing: UTF-8 without a byte-order mark, CRLF line ends; a value with blanks at either end
// is quoted so that it reads back unchanged.
class IniFile
{
public:
    enum class Encoding { Utf8, Utf16, Windows1254 };

    // Parses bytes as read from disk. Never fails: lines that are neither a section header nor
    // a key=value pair are kept as they are and written back unchanged.
    static IniFile fromBytes(QByteArrayView bytes);

    // Reads a file. Returns false (and leaves this object empty) when the file does not exist
    // or cannot be read; `error` then says why.
    bool load(const QString &path, QString *error = nullptr);

    // Writes the whole file atomically, readable and writable by its owner only (it holds a
    // password). Returns false with a reason in `error` on failure; the old file is then untouched.
    bool save(const QString &path, QString *error = nullptr) const;

    QByteArray toBytes() const;
    Encoding sourceEncoding() const { return m_encoding; }

    bool contains(QStringView section, QStringView key) const;
    QString value(QStringView section, QStringView key, const QString &defaultValue = {}) const;
    // As the Windows client reads booleans: the value as an integer, non-zero is true; a missing
    // or non-numeric value gives `defaultValue`.
    bool boolValue(QStringView section, QStringView key, bool defaultValue) const;

    // Values are single-line: line breaks in `value` are rejected (false, nothing stored).
    bool setValue(QStringView section, QStringView key, const QString &value);
    void setBool(QStringView section, QStringView key, bool value);

private:
    struct Line
    {
        QString key; // empty for a line that is not a key=value pair
        QString text; // the value, or the raw line
    };
    struct Section
    {
        QString name;
        bool hasHeader = true; // false only for lines before the first header
        std::vector<Line> lines;
    };

    const Section *findSection(QStringView name) const;
    const Line *findLine(QStringView section, QStringView key) const;

    std::vector<Section> m_sections;
    Encoding m_encoding = Encoding::Utf8;
};

} // namespace morvex
