#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace morvex::wire {

class ByteReader;

// One element of the JSON-like envelope. The arrays under "data", "metadata" and "callback"
// are read in their binary form [N,<N raw bytes>] and hold a Number and a Raw element.
struct Node
{
    enum class Kind { Null, Boolean, Number, String, Raw, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    qint64 number = 0;
    QString string;
    QByteArray raw;
    std::vector<Node> items;    // Array
    std::vector<QString> keys;  // Object: keys and values, in order
    std::vector<Node> values;

    bool isArray() const { return kind == Kind::Array; }
    bool isObject() const { return kind == Kind::Object; }
    // The member of an object, or nullptr.
    const Node *member(QStringView key) const;
    // The object's first key (a message's type), or an empty string.
    QString firstKey() const;
    const Node &firstValue() const;

    // Checked access for message handlers: raise ProtocolError naming `what` on a shape mismatch.
    const Node &item(qsizetype index, const char *what) const;
    qint64 asInteger(const char *what) const;
    bool asBoolean(const char *what) const;
    const QString &asString(const char *what) const;
};

// A binary block [N,<bytes>]: the signed count and the bytes.
struct RawBlock
{
    qint64 count = 0;
    QByteArray bytes;
};
// Reads a node that holds a binary block (the value of a "data" key).
RawBlock rawBlockOf(const Node &node, const char *what);

// Reads the next top-level message. Skips whitespace, stray '}' and the ',' between table
// batches before it. An error message ends after its inner object (its outer brace is never
// closed by a DataSnap server).
Node readMessage(ByteReader &reader);

// Writing the envelope.
class MessageWriter
{
public:
    QByteArray &bytes() { return m_out; }
    QByteArray take() { return std::move(m_out); }

    MessageWriter &raw(const char *text);
    MessageWriter &raw(const QByteArray &bytes);
    MessageWriter &string(QStringView text);
    MessageWriter &integer(qint64 value);
    MessageWriter &boolean(bool value);
    MessageWriter &null();
    // {"data":[N,<bytes>]}. count is the signed N (its magnitude must equal bytes.size(), or be 0
    // with no bytes). With padded the number is left-aligned in nine characters (more_blob
    // chunks). An empty block without padding is written [0].
    MessageWriter &dataBlock(qint64 count, const char *bytes, qsizetype size, bool padded = false);
    // '{"method":"<name>","params":[' ... close with endRequest().
    MessageWriter &beginRequest(const char *method);
    MessageWriter &endRequest();

private:
    QByteArray m_out;
};

// A request with the given already-written params body.
QByteArray request(const char *method, const QByteArray &paramsBody);

} // namespace morvex::wire
