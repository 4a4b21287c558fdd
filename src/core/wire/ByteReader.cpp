#include "core/wire/ByteReader.h"

#include "core/wire/WireError.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace morvex::wire {

void EndOfInputSource::fill(QByteArray &)
{
    throw ProtocolError(u"The message ends too early"_s);
}

ByteReader::ByteReader(ByteSource &source)
    : m_source(source)
{
}

ByteReader::ByteReader(ByteSource &source, QByteArray initial)
    : m_source(source)
    , m_buf(std::move(initial))
{
}

void ByteReader::compact()
{
    // Drop consumed bytes once they dominate the buffer, so that a long session does not grow it.
    if (m_pos > 65536 && m_pos * 2 > m_buf.size()) {
        m_buf.remove(0, m_pos);
        m_consumed += m_pos;
        m_pos = 0;
    }
}

const char *ByteReader::ensure(qsizetype n)
{
    while (m_buf.size() - m_pos < n) {
        compact();
        const qsizetype before = m_buf.size();
        m_source.fill(m_buf);
        if (m_buf.size() <= before)
            throw ConnectionError(u"The connection delivered no data"_s);
    }
    return m_buf.constData() + m_pos;
}

char ByteReader::get()
{
    const char c = *ensure(1);
    ++m_pos;
    return c;
}

void ByteReader::skip(qsizetype n)
{
    ensure(n);
    m_pos += n;
}

static bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void ByteReader::skipWhitespace()
{
    while (isSpace(peek()))
        ++m_pos;
}

char ByteReader::peekNonSpace()
{
    skipWhitespace();
    return peek();
}

void ByteReader::expect(char c)
{
    const char got = peekNonSpace();
    if (got != c) {
        throw ProtocolError(u"Expected '%1' at byte %2, found byte 0x%3"_s.arg(QLatin1Char(c))
                                .arg(offset())
                                .arg(uint(uchar(got)), 2, 16, QLatin1Char('0')));
    }
    ++m_pos;
}

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString ByteReader::readString()
{
    expect('"');
    QString out;
    for (;;) {
        // Take the run of plain bytes up to the next quote or backslash in one step.
        ensure(1);
        qsizetype end = m_pos;
        while (end < m_buf.size() && m_buf[end] != '"' && m_buf[end] != '\\')
            ++end;
        if (end > m_pos)
            out += QLatin1StringView(m_buf.constData() + m_pos, end - m_pos);
        m_pos = end;
        if (m_pos == m_buf.size())
            continue;
        const char c = m_buf[m_pos++];
        if (c == '"')
            return out;
        const char e = get();
        switch (e) {
        case 'b': out += QChar(u'\b'); break;
        case 'f': out += QChar(u'\f'); break;
        case 'n': out += QChar(u'\n'); break;
        case 'r': out += QChar(u'\r'); break;
        case 't': out += QChar(u'\t'); break;
        case 'u': {
            const char *h = ensure(4);
            int code = 0;
            for (int i = 0; i < 4; ++i) {
                const int v = hexValue(h[i]);
                if (v < 0)
                    throw ProtocolError(u"Bad \\u escape in a string at byte %1"_s.arg(offset()));
                code = code * 16 + v;
            }
            m_pos += 4;
            out += QChar(char16_t(code));
            break;
        }
        default:
            // Any other escaped character stands for itself (\" \\ \/ ...).
            out += QChar(char16_t(uchar(e)));
        }
    }
}

qint64 ByteReader::readInteger()
{
    skipWhitespace();
    QByteArray token;
    for (;;) {
        const char c = peek();
        if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E') {
            token += c;
            ++m_pos;
            if (token.size() > 32)
                throw ProtocolError(u"Number too long at byte %1"_s.arg(offset()));
        } else {
            break;
        }
    }
    bool ok = false;
    const qint64 value = token.toLongLong(&ok);
    if (!ok)
        throw ProtocolError(u"Expected an integer at byte %1, found \"%2\""_s.arg(offset())
                                .arg(QString::fromLatin1(token)));
    return value;
}

QByteArray ByteReader::readLiteral()
{
    skipWhitespace();
    QByteArray word;
    while (true) {
        const char c = peek();
        if (c < 'a' || c > 'z')
            break;
        word += c;
        ++m_pos;
        if (word.size() > 5)
            break;
    }
    if (word != "true" && word != "false" && word != "null")
        throw ProtocolError(u"Unexpected token \"%1\" at byte %2"_s.arg(QString::fromLatin1(word)).arg(offset()));
    return word;
}

QByteArray ByteReader::readRaw(qsizetype n)
{
    if (n < 0)
        throw ProtocolError(u"Negative raw length"_s);
    // Fill in steps so that a corrupt count costs no more memory than the bytes that arrive.
    const char *p = ensure(n);
    QByteArray bytes(p, n);
    m_pos += n;
    return bytes;
}

} // namespace morvex::wire
