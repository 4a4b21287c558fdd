#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace morvex::wire {

// One field of a row as it lies on the wire, before its declared type gives it a meaning.
struct RawField
{
    enum class Kind : std::uint8_t {
        Null,     // 0x80 bit
        Tiny,     // 0x20 | L, L bytes
        Big,      // 0x10, 2-byte length
        Json,     // 0x40, 4-byte length
        Callback, // 0x02
        External, // 0x08 / 0x0C forms: no data in the row
        Legacy,   // 0x00, NUL-terminated
    };
    Kind kind = Kind::Null;
    // The 0x40 bit of a tiny or big header: sign (>= 0) of numbers, true of booleans,
    // "more follows" of strings and streams.
    bool flag = false;
    const char *data = nullptr;
    qsizetype size = 0;

    bool isNull() const { return kind == Kind::Null; }
    QByteArray bytes() const { return QByteArray(data, size); }
};

// Walks the fields of a row (or of a table batch, row after row).
class RowReader
{
public:
    RowReader(const char *data, qsizetype size);
    explicit RowReader(const QByteArray &bytes)
        : RowReader(bytes.constData(), bytes.size())
    {
    }

    bool atEnd() const { return m_pos >= m_size; }
    qsizetype position() const { return m_pos; }
    // The next field; raises ProtocolError when the bytes end inside it. Nulls and tiny fields,
    // most of a table, are read inline.
    RawField next()
    {
        if (m_pos < m_size) {
            const auto h = uchar(m_data[m_pos]);
            RawField f;
            if (h & 0x80) {
                f.data = m_data + m_pos + 1;
                m_pos += 1;
                return f;
            }
            const qsizetype length = h & 0x1F;
            if ((h & 0x20) && length < m_size - m_pos) {
                f.kind = RawField::Kind::Tiny;
                f.flag = (h & 0x40) != 0;
                f.data = m_data + m_pos + 1;
                f.size = length;
                m_pos += 1 + length;
                return f;
            }
        }
        return nextOther();
    }

private:
    RawField nextOther();

    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// Typed readings of a field. Each raises ProtocolError when the field cannot hold that type.
qint64 decodeInteger(const RawField &field);
double decodeDouble(const RawField &field);
float decodeSingle(const RawField &field);
bool decodeBoolean(const RawField &field);
// Milliseconds since 1970-01-01 00:00, local naive time.
qint64 decodeTimestampMs(const RawField &field);
// The payload of a string, memo or stream field (tiny or big).
QByteArray decodeBytes(const RawField &field);
// Wide-string bytes: Latin-1, switching to UTF-16BE after an 0xFF byte.
QString decodeWideString(const char *data, qsizetype size);
inline QString decodeWideString(const QByteArray &bytes) { return decodeWideString(bytes.constData(), bytes.size()); }
// AnsiString bytes: the 0xFF switch when present, else the ANSI code page.
QString decodeAnsiString(const QByteArray &bytes);
QByteArray encodeWideString(QStringView text);

// Appends fields to a row.
class RowWriter
{
public:
    void reserve(qsizetype bytes) { m_out.reserve(bytes); }
    // The bytes written so far.
    const QByteArray &bytes()
    {
        m_out.truncate(m_size);
        return m_out;
    }
    qsizetype size() const { return m_size; }
    QByteArray take()
    {
        m_out.truncate(m_size);
        m_size = 0;
        return std::move(m_out);
    }

    void writeNull() { *grow(1) = '\xC0'; }
    void writeInteger(qint64 value);
    void writeDouble(double value);
    void writeSingle(float value);
    void writeBoolean(bool value) { *grow(1) = value ? '\x60' : '\x20'; }
    void writeTimestampMs(qint64 msSince1970);
    // A string's encoded bytes; when more than `inlineLimit` bytes, writes the first part with
    // the "more follows" bit and returns how many bytes went inline.
    qsizetype writeStringBytes(const char *data, qsizetype size, qsizetype inlineLimit);
    // A wide string, encoded straight into the row. Returns the encoded bytes that did not fit
    // (empty when all went inline).
    QByteArray writeText(QStringView text, qsizetype inlineLimit);
    // The same from a text's UTF-8 bytes (valid UTF-8, as a record set keeps its texts), without
    // a QString in between.
    QByteArray writeTextUtf8(std::string_view utf8, qsizetype inlineLimit);
    // A stream's bytes (always the big header, `20` when empty).
    void writeStreamBytes(const char *data, qsizetype size, bool moreFollows);
    void writeJson(const QByteArray &jsonText);
    void writeCallback() { *grow(1) = '\x02'; }

private:
    // Room for n more bytes at the end; the buffer grows geometrically and is cut to size when read.
    char *grow(qsizetype n)
    {
        if (m_size + n > m_out.size())
            m_out.resize(std::max<qsizetype>(m_out.size() * 2, m_size + n + 256));
        char *p = m_out.data() + m_size;
        m_size += n;
        return p;
    }
    void append(const char *data, qsizetype n)
    {
        if (n > 0)
            std::memcpy(grow(n), data, size_t(n));
    }

    QByteArray m_out;
    qsizetype m_size = 0;
    std::string m_scratch;
};

// Wide-string bytes decoded into `out` as UTF-16 (reused between calls, no QString per text).
void decodeWideStringInto(const char *data, qsizetype size, std::u16string &out);

// TDateTime days (since 1899-12-30, the fraction the time of day) <-> ms since 1970-01-01.
qint64 dateTimeToMs(double days);
double msToDateTime(qint64 msSince1970);
// Date (year<<9 | month<<5 | day) <-> ms since 1970.
qint64 packedDateToMs(qint64 packed);

} // namespace morvex::wire
