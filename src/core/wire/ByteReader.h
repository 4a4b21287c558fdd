#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace morvex::wire {

// Where a ByteReader gets more bytes: a socket, or a fixed buffer in tests and the fuzzer.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Appends at least one byte to `buffer`, or raises (ConnectionError when the peer is gone,
    // TimeoutError when it stays silent).
    virtual void fill(QByteArray &buffer) = 0;
};

// A source that has nothing beyond what the reader was given: running out means the message was
// cut short.
class EndOfInputSource : public ByteSource
{
public:
    void fill(QByteArray &buffer) override;
};

// Byte tokenizer of the DataSnap envelope with one extra operation: read exactly n raw bytes.
class ByteReader
{
public:
    explicit ByteReader(ByteSource &source);
    ByteReader(ByteSource &source, QByteArray initial);

    // True when bytes are waiting in the buffer (without asking the source).
    bool hasBuffered() const { return m_pos < m_buf.size(); }
    qsizetype buffered() const { return m_buf.size() - m_pos; }
    // Ensures n bytes are buffered (asking the source) and returns a pointer to them.
    const char *ensure(qsizetype n);

    char peek() { return *ensure(1); }
    char get();
    void skip(qsizetype n);
    void skipWhitespace();
    char peekNonSpace();
    void expect(char c);
    // Reads a quoted string; the opening quote is the next non-space byte. Raw bytes are Latin-1.
    QString readString();
    // Reads an integer token (characters -+.eE0-9); fractions and exponents are refused.
    qint64 readInteger();
    // Reads one of the literals true, false, null; returns the text read.
    QByteArray readLiteral();
    QByteArray readRaw(qsizetype n);

    // Bytes consumed so far (for messages that name a position).
    qint64 offset() const { return m_consumed + m_pos; }

private:
    void compact();

    ByteSource &m_source;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
};

} // namespace morvex::wire
