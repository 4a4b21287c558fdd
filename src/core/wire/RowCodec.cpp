#include "core/wire/RowCodec.h"

#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"

#include <QDate>
#include <QStringDecoder>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace morvex::wire {

namespace {

constexpr qint64 kMsPerDay = 86'400'000;
// Days from 1899-12-30 (TDateTime zero) to 1970-01-01.
constexpr qint64 kUnixEpochDays = 25'569;

[[noreturn]] void fail(const QString &what)
{
    throw ProtocolError(what);
}

quint32 readBigEndian(const char *p, int n)
{
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | uchar(p[i]);
    return v;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Integer field payload: magnitude in L big-endian bytes, sign in the header's 0x40 bit.
qint64 integerFrom(const char *data, qsizetype size, bool nonNegative)
{
    if (size > 8)
        fail(u"An integer field of %1 bytes"_s.arg(size));
    quint64 magnitude = 0;
    for (qsizetype i = 0; i < size; ++i)
        magnitude = (magnitude << 8) | uchar(data[i]);
    constexpr quint64 limit = quint64(std::numeric_limits<qint64>::max());
    if (nonNegative) {
        if (magnitude > limit)
            fail(u"An integer field does not fit 64 bits"_s);
        return qint64(magnitude);
    }
    // The most negative value travels as its own two's-complement bytes: 2^63 reads back as it.
    if (magnitude > limit + 1)
        fail(u"An integer field does not fit 64 bits"_s);
    return qint64(quint64(0) - magnitude);
}

} // namespace

RowReader::RowReader(const char *data, qsizetype size)
    : m_data(data)
    , m_size(size)
{
}

RawField RowReader::nextOther()
{
    if (m_pos >= m_size)
        fail(u"The row ends before all its fields"_s);
    const uchar h = uchar(m_data[m_pos]);
    const qsizetype left = m_size - m_pos - 1;
    const char *p = m_data + m_pos + 1;
    RawField f;
    auto payload = [&](qsizetype headerExtra, qsizetype length) {
        if (length < 0 || length > left - headerExtra)
            fail(u"A field of %1 bytes runs past the end of its row"_s.arg(length));
        f.data = p + headerExtra;
        f.size = length;
        m_pos += 1 + headerExtra + length;
    };
    if (h & 0x80) {
        f.kind = RawField::Kind::Null;
        f.data = p;
        m_pos += 1;
    } else if (h & 0x20) {
        f.kind = RawField::Kind::Tiny;
        f.flag = (h & 0x40) != 0;
        payload(0, h & 0x1F);
    } else if (h == 0x02) {
        f.kind = RawField::Kind::Callback;
        f.data = p;
        m_pos += 1;
    } else if (h & 0x10) {
        f.kind = RawField::Kind::Big;
        f.flag = (h & 0x40) != 0;
        if (left < 2)
            fail(u"A field header runs past the end of its row"_s);
        payload(2, qsizetype(readBigEndian(p, 2)));
    } else if (h & 0x40) {
        f.kind = RawField::Kind::Json;
        if (left < 4)
            fail(u"A field header runs past the end of its row"_s);
        payload(4, qsizetype(readBigEndian(p, 4)));
    } else if (h & 0x08) {
        // External blob reference: a length with no data, optionally a short name.
        f.kind = RawField::Kind::External;
        if (left < 4)
            fail(u"A field header runs past the end of its row"_s);
        if (h & 0x04) {
            if (left < 5)
                fail(u"A field header runs past the end of its row"_s);
            payload(5, uchar(p[4]));
        } else {
            payload(4, 0);
        }
    } else if (h == 0x00) {
        f.kind = RawField::Kind::Legacy;
        const void *end = std::memchr(p, 0, size_t(left));
        if (!end)
            fail(u"A NUL-terminated field has no terminator"_s);
        const qsizetype length = static_cast<const char *>(end) - p;
        f.data = p;
        f.size = length;
        m_pos += 1 + length + 1;
    } else {
        fail(u"Unknown field header 0x%1"_s.arg(uint(h), 2, 16, QLatin1Char('0')));
    }
    return f;
}

qint64 decodeInteger(const RawField &field)
{
    if (field.kind != RawField::Kind::Tiny)
        fail(u"Expected an integer field"_s);
    return integerFrom(field.data, field.size, field.flag);
}

double decodeDouble(const RawField &field)
{
    if (field.kind != RawField::Kind::Tiny || field.size > 8)
        fail(u"Expected a floating-point field"_s);
    quint64 bits = 0;
    for (qsizetype i = 0; i < 8; ++i)
        bits = (bits << 8) | (i < field.size ? uchar(field.data[i]) : 0);
    return std::bit_cast<double>(bits);
}

float decodeSingle(const RawField &field)
{
    if (field.kind != RawField::Kind::Tiny || field.size > 4)
        fail(u"Expected a single-precision field"_s);
    quint32 bits = 0;
    for (qsizetype i = 0; i < 4; ++i)
        bits = (bits << 8) | (i < field.size ? uchar(field.data[i]) : 0);
    return std::bit_cast<float>(bits);
}

bool decodeBoolean(const RawField &field)
{
    if (field.kind != RawField::Kind::Tiny || field.size != 0)
        fail(u"Expected a boolean field"_s);
    return field.flag;
}

qint64 decodeTimestampMs(const RawField &field)
{
    if (field.kind != RawField::Kind::Tiny || field.size < 1)
        fail(u"Expected a timestamp field"_s);
    const uchar inner = uchar(field.data[0]);
    if ((inner & 0x80) || !(inner & 0x20))
        fail(u"A timestamp field without its integer part"_s);
    const qsizetype length = inner & 0x1F;
    const qsizetype rest = field.size - 1 - length;
    if (length > 8 || (rest != 0 && rest != 4))
        fail(u"A timestamp field of unexpected size"_s);
    const qint64 raw = integerFrom(field.data + 1, length, (inner & 0x40) != 0);
    // The integer carries whole seconds; the milliseconds come only from the nanosecond part.
    if (raw < std::numeric_limits<qint64>::min() / 2 || raw > std::numeric_limits<qint64>::max() / 2)
        fail(u"A timestamp out of range"_s);
    qint64 ms = floorDiv(raw, 1000) * 1000;
    if (rest == 4) {
        const quint32 nanos = readBigEndian(field.data + 1 + length, 4);
        if (nanos >= 1'000'000'000u)
            fail(u"A timestamp with %1 nanoseconds"_s.arg(nanos));
        ms += nanos / 1'000'000;
    }
    return ms;
}

QByteArray decodeBytes(const RawField &field)
{
    if (field.kind != RawField::Kind::Tiny && field.kind != RawField::Kind::Big && field.kind != RawField::Kind::Legacy)
        fail(u"Expected a string or stream field"_s);
    return field.bytes();
}

QString decodeWideString(const char *data, qsizetype size)
{
    const void *ff = std::memchr(data, 0xFF, size_t(size));
    if (!ff)
        return QString::fromLatin1(data, size);
    const qsizetype head = static_cast<const char *>(ff) - data;
    const qsizetype tail = size - head - 1;
    if (tail % 2 != 0)
        fail(u"A wide string ends inside a UTF-16 character"_s);
    QString out(head + tail / 2, Qt::Uninitialized);
    QChar *o = out.data();
    for (qsizetype i = 0; i < head; ++i)
        *o++ = QChar(char16_t(uchar(data[i])));
    const char *p = data + head + 1;
    for (qsizetype i = 0; i < tail; i += 2)
        *o++ = QChar(char16_t((uchar(p[i]) << 8) | uchar(p[i + 1])));
    return out;
}

QString decodeAnsiString(const QByteArray &bytes)
{
    if (bytes.contains('\xFF'))
        return decodeWideString(bytes);
    bool ascii = true;
    for (const char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(kAnsiCodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray encodeWideString(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    const char16_t *u = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i < n && u[i] < 0xFF; ++i)
        out.append(char(u[i]));
    if (i < n) {
        out.append('\xFF');
        for (; i < n; ++i) {
            out.append(char(u[i] >> 8));
            out.append(char(u[i] & 0xFF));
        }
    }
    return out;
}

void RowWriter::writeInteger(qint64 value)
{
    const quint64 magnitude = value >= 0 ? quint64(value) : quint64(0) - quint64(value);
    const int n = magnitude == 0 ? 0 : 8 - std::countl_zero(magnitude) / 8;
    char *p = grow(1 + n);
    *p++ = char((value >= 0 ? 0x60 : 0x20) | n);
    for (int i = 0; i < n; ++i)
        p[i] = char((magnitude >> (8 * (n - 1 - i))) & 0xFF);
}

void RowWriter::writeDouble(double value)
{
    const quint64 bits = std::bit_cast<quint64>(value);
    // Trailing zero bytes of the big-endian pattern are dropped.
    const int n = bits == 0 ? 0 : 8 - std::countr_zero(bits) / 8;
    char *p = grow(1 + n);
    *p++ = char(0x20 | ((bits >> 63) ? 0 : 0x40) | n);
    for (int i = 0; i < n; ++i)
        p[i] = char((bits >> (56 - 8 * i)) & 0xFF);
}

void RowWriter::writeSingle(float value)
{
    const quint32 bits = std::bit_cast<quint32>(value);
    const int n = bits == 0 ? 0 : 4 - std::countr_zero(bits) / 8;
    char *p = grow(1 + n);
    *p++ = char(0x20 | ((bits >> 31) ? 0 : 0x40) | n);
    for (int i = 0; i < n; ++i)
        p[i] = char((bits >> (24 - 8 * i)) & 0xFF);
}

void RowWriter::writeTimestampMs(qint64 msSince1970)
{
    const qint64 whole = floorDiv(msSince1970, 1000) * 1000;
    const qint64 fraction = msSince1970 - whole;
    RowWriter inner;
    inner.writeInteger(whole);
    if (fraction != 0) {
        const quint32 nanos = quint32(fraction) * 1'000'000u;
        const char b[4] = {char(nanos >> 24), char((nanos >> 16) & 0xFF), char((nanos >> 8) & 0xFF), char(nanos & 0xFF)};
        inner.append(b, 4);
    }
    *grow(1) = char(0x20 | inner.size());
    append(inner.m_out.constData(), inner.size());
}

qsizetype RowWriter::writeStringBytes(const char *data, qsizetype size, qsizetype inlineLimit)
{
    const qsizetype limit = std::min<qsizetype>(std::max<qsizetype>(inlineLimit, 0), kMaxInlineBytes);
    const bool more = size > limit;
    const qsizetype n = more ? limit : size;
    if (n <= 31) {
        *grow(1) = char((more ? 0x60 : 0x20) | n);
    } else {
        char *p = grow(3);
        p[0] = char(more ? 0x50 : 0x10);
        p[1] = char(n >> 8);
        p[2] = char(n & 0xFF);
    }
    append(data, n);
    return n;
}

QByteArray RowWriter::writeText(QStringView text, qsizetype inlineLimit)
{
    const char16_t *u = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype latin = 0;
    while (latin < n && u[latin] < 0xFF)
        ++latin;
    if (latin < n || n > std::min<qsizetype>(inlineLimit, kMaxInlineBytes)) {
        // Past the 0xFF switch, or cut short: rare enough to take the general path.
        const QByteArray bytes = encodeWideString(text);
        const qsizetype written = writeStringBytes(bytes.constData(), bytes.size(), inlineLimit);
        return bytes.mid(written);
    }
    const qsizetype header = n <= 31 ? 1 : 3;
    char *p = grow(header + n);
    if (header == 1) {
        *p++ = char(0x20 | n);
    } else {
        *p++ = char(0x10);
        *p++ = char(n >> 8);
        *p++ = char(n & 0xFF);
    }
    for (qsizetype i = 0; i < n; ++i)
        p[i] = char(u[i]);
    return {};
}

QByteArray RowWriter::writeTextUtf8(std::string_view utf8, qsizetype inlineLimit)
{
    const auto *u = reinterpret_cast<const uchar *>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t ascii = 0;
    // Eight bytes at a time while none has its high bit set.
    for (quint64 word; ascii + 8 <= n; ascii += 8) {
        std::memcpy(&word, u + ascii, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (ascii < n && u[ascii] < 0x80)
        ++ascii;
    std::string_view wire = utf8;
    if (ascii < n) {
        // Code points below 0xFF go as single bytes until the first one at or above it; from
        // there on every UTF-16 unit goes big-endian after an 0xFF byte.
        // At most two wire bytes a UTF-8 byte, and the switch.
        if (m_scratch.size() < 2 * n + 1)
            m_scratch.resize(2 * n + 1);
        char *const start = m_scratch.data();
        char *o = start;
        std::memcpy(o, utf8.data(), ascii);
        o += ascii;
        bool wide = false;
        for (std::size_t i = ascii; i < n;) {
            const uchar b = u[i];
            char32_t c;
            std::size_t len;
            if (b < 0x80) {
                c = b;
                len = 1;
            } else if (b < 0xE0) {
                c = b & 0x1F;
                len = 2;
            } else if (b < 0xF0) {
                c = b & 0x0F;
                len = 3;
            } else {
                c = b & 0x07;
                len = 4;
            }
            if (i + len > n)
                throw WireError(u"A stored text is not valid UTF-8"_s);
            for (std::size_t k = 1; k < len; ++k)
                c = (c << 6) | (u[i + k] & 0x3F);
            i += len;
            if (!wide && c < 0xFF) {
                *o++ = char(c);
                continue;
            }
            if (!wide) {
                *o++ = '\xFF';
                wide = true;
            }
            if (c >= 0x10000) {
                const char16_t hi = char16_t(0xD800 + ((c - 0x10000) >> 10));
                const char16_t lo = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
                *o++ = char(hi >> 8);
                *o++ = char(hi & 0xFF);
                *o++ = char(lo >> 8);
                *o++ = char(lo & 0xFF);
            } else {
                *o++ = char(c >> 8);
                *o++ = char(c & 0xFF);
            }
        }
        wire = std::string_view(start, std::size_t(o - start));
    }
    const qsizetype size = qsizetype(wire.size());
    const qsizetype written = writeStringBytes(wire.data(), size, inlineLimit);
    if (written == size)
        return {};
    return QByteArray(wire.data() + written, size - written);
}

void decodeWideStringInto(const char *data, qsizetype size, std::u16string &out)
{
    const void *ff = std::memchr(data, 0xFF, size_t(size));
    const qsizetype head = ff ? static_cast<const char *>(ff) - data : size;
    const qsizetype tail = ff ? size - head - 1 : 0;
    if (tail % 2 != 0)
        fail(u"A wide string ends inside a UTF-16 character"_s);
    out.resize(std::size_t(head + tail / 2));
    char16_t *o = out.data();
    for (qsizetype i = 0; i < head; ++i)
        *o++ = char16_t(uchar(data[i]));
    const char *p = data + head + 1;
    for (qsizetype i = 0; i < tail; i += 2)
        *o++ = char16_t((uchar(p[i]) << 8) | uchar(p[i + 1]));
}

void RowWriter::writeStreamBytes(const char *data, qsizetype size, bool moreFollows)
{
    if (size == 0 && !moreFollows) {
        *grow(1) = '\x20';
        return;
    }
    if (size > kMaxInlineBytes)
        throw WireError(u"A stream part of %1 bytes does not fit one field"_s.arg(size));
    char *p = grow(3);
    p[0] = char(moreFollows ? 0x50 : 0x10);
    p[1] = char(size >> 8);
    p[2] = char(size & 0xFF);
    append(data, size);
}

void RowWriter::writeJson(const QByteArray &jsonText)
{
    const quint32 n = quint32(jsonText.size());
    const char b[5] = {'\x40', char(n >> 24), char((n >> 16) & 0xFF), char((n >> 8) & 0xFF), char(n & 0xFF)};
    append(b, 5);
    append(jsonText.constData(), jsonText.size());
}

qint64 dateTimeToMs(double days)
{
    // TDateTime covers the years 1 to 9999.
    if (!std::isfinite(days) || days < -693'594.0 || days > 2'958'466.0)
        throw WireError(u"Date-time value %1 is out of range"_s.arg(days));
    // Before 1899-12-30 the whole part counts days back and the fraction is still the time of day.
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    const qint64 ms = qint64(whole) * kMsPerDay + std::llround(fraction * double(kMsPerDay));
    return ms - kUnixEpochDays * kMsPerDay;
}

double msToDateTime(qint64 msSince1970)
{
    const qint64 ms = msSince1970 + kUnixEpochDays * kMsPerDay;
    const qint64 days = floorDiv(ms, kMsPerDay);
    const double timeOfDay = double(ms - days * kMsPerDay) / double(kMsPerDay);
    return days >= 0 ? double(days) + timeOfDay : double(days) - timeOfDay;
}

qint64 packedDateToMs(qint64 packed)
{
    if (packed < 0 || (packed >> 9) > 9999)
        fail(u"Invalid packed date %1"_s.arg(packed));
    const QDate date(int(packed >> 9), int((packed >> 5) & 0x0F), int(packed & 0x1F));
    if (!date.isValid())
        fail(u"Invalid packed date %1"_s.arg(packed));
    return (date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * kMsPerDay;
}

} // namespace morvex::wire
