#include "core/wire/Message.h"

#include "core/wire/ByteReader.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace morvex::wire {

const Node *Node::member(QStringView key) const
{
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key)
            return &values[i];
    }
    return nullptr;
}

QString Node::firstKey() const
{
    return keys.empty() ? QString() : keys.front();
}

const Node &Node::firstValue() const
{
    static const Node empty;
    return values.empty() ? empty : values.front();
}

const Node &Node::item(qsizetype index, const char *what) const
{
    if (kind != Kind::Array || index < 0 || index >= qsizetype(items.size()))
        throw ProtocolError(u"Missing element %1 of %2"_s.arg(index).arg(QLatin1StringView(what)));
    return items[size_t(index)];
}

qint64 Node::asInteger(const char *what) const
{
    if (kind != Kind::Number)
        throw ProtocolError(u"Expected a number for %1"_s.arg(QLatin1StringView(what)));
    return number;
}

bool Node::asBoolean(const char *what) const
{
    if (kind != Kind::Boolean)
        throw ProtocolError(u"Expected true or false for %1"_s.arg(QLatin1StringView(what)));
    return boolean;
}

const QString &Node::asString(const char *what) const
{
    if (kind != Kind::String)
        throw ProtocolError(u"Expected a string for %1"_s.arg(QLatin1StringView(what)));
    return string;
}

RawBlock rawBlockOf(const Node &node, const char *what)
{
    if (node.kind != Node::Kind::Array || node.items.empty() || node.items[0].kind != Node::Kind::Number)
        throw ProtocolError(u"Expected a data block for %1"_s.arg(QLatin1StringView(what)));
    RawBlock block;
    block.count = node.items[0].number;
    if (node.items.size() > 1)
        block.bytes = node.items[1].raw;
    return block;
}

namespace {

bool isBinaryKey(QStringView key)
{
    return key == u"data" || key == u"metadata" || key == u"callback";
}

class Parser
{
public:
    explicit Parser(ByteReader &reader)
        : m_reader(reader)
    {
    }

    Node value(int depth)
    {
        if (depth > kMaxNesting)
            throw ProtocolError(u"Message nested too deeply"_s);
        const char c = m_reader.peekNonSpace();
        Node node;
        switch (c) {
        case '{':
            m_reader.get();
            node.kind = Node::Kind::Object;
            members(node, depth);
            m_reader.expect('}');
            return node;
        case '[':
            m_reader.get();
            node.kind = Node::Kind::Array;
            elements(node, depth);
            return node;
        case '"':
            node.kind = Node::Kind::String;
            node.string = m_reader.readString();
            return node;
        case 't':
        case 'f':
        case 'n': {
            const QByteArray word = m_reader.readLiteral();
            if (word == "null")
                return node;
            node.kind = Node::Kind::Boolean;
            node.boolean = word == "true";
            return node;
        }
        default:
            if ((c >= '0' && c <= '9') || c == '-' || c == '+') {
                node.kind = Node::Kind::Number;
                node.number = m_reader.readInteger();
                return node;
            }
            throw ProtocolError(u"Unexpected byte 0x%1 at byte %2"_s.arg(uint(uchar(c)), 2, 16, QLatin1Char('0'))
                                    .arg(m_reader.offset()));
        }
    }

    // Members up to (not including) the closing brace. For an error message the caller stops
    // after the first member.
    void members(Node &node, int depth, bool stopAfterError = false)
    {
        if (m_reader.peekNonSpace() == '}')
            return;
        for (;;) {
            QString key = m_reader.readString();
            m_reader.expect(':');
            Node v = (isBinaryKey(key) && m_reader.peekNonSpace() == '[') ? binary() : value(depth + 1);
            const bool isError = key == u"error";
            node.keys.push_back(std::move(key));
            node.values.push_back(std::move(v));
            if (stopAfterError && isError)
                return;
            const char c = m_reader.peekNonSpace();
            if (c == '}')
                return;
            m_reader.expect(',');
        }
    }

    void elements(Node &node, int depth)
    {
        if (m_reader.peekNonSpace() == ']') {
            m_reader.get();
            return;
        }
        for (;;) {
            node.items.push_back(value(depth + 1));
            const char c = m_reader.peekNonSpace();
            if (c == ']') {
                m_reader.get();
                return;
            }
            // An input table's object and its first batch follow each other without a comma.
            if (c == '{')
                continue;
            m_reader.expect(',');
        }
    }

    // [N,<|N| raw bytes>] or [0]; N may be padded with spaces.
    Node binary()
    {
        m_reader.expect('[');
        Node node;
        node.kind = Node::Kind::Array;
        Node count;
        count.kind = Node::Kind::Number;
        count.number = m_reader.readInteger();
        const qint64 n = count.number;
        const qint64 magnitude = n < 0 ? -n : n;
        if (n == std::numeric_limits<qint64>::min() || magnitude > kMaxRawBlock)
            throw ProtocolError(u"Data block of %1 bytes is too large"_s.arg(n));
        node.items.push_back(std::move(count));
        Node raw;
        raw.kind = Node::Kind::Raw;
        if (m_reader.peekNonSpace() == ']') {
            if (magnitude != 0)
                throw ProtocolError(u"Data block announces %1 bytes but carries none"_s.arg(n));
        } else {
            m_reader.expect(',');
            raw.raw = m_reader.readRaw(qsizetype(magnitude));
        }
        node.items.push_back(std::move(raw));
        m_reader.expect(']');
        return node;
    }

private:
    ByteReader &m_reader;
};

} // namespace

Node readMessage(ByteReader &reader)
{
    for (;;) {
        const char c = reader.peekNonSpace();
        if (c == '}' || c == ',') {
            reader.get();
            continue;
        }
        break;
    }
    reader.expect('{');
    Parser parser(reader);
    Node node;
    node.kind = Node::Kind::Object;
    parser.members(node, 0, true);
    if (node.firstKey() != u"error")
        reader.expect('}');
    return node;
}

MessageWriter &MessageWriter::raw(const char *text)
{
    m_out.append(text);
    return *this;
}

MessageWriter &MessageWriter::raw(const QByteArray &bytes)
{
    m_out.append(bytes);
    return *this;
}

MessageWriter &MessageWriter::string(QStringView text)
{
    static const char hex[] = "0123456789ABCDEF";
    m_out.append('"');
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        switch (u) {
        case u'"': m_out.append("\\\""); continue;
        case u'\\': m_out.append("\\\\"); continue;
        case u'\b': m_out.append("\\b"); continue;
        case u'\f': m_out.append("\\f"); continue;
        case u'\n': m_out.append("\\n"); continue;
        case u'\r': m_out.append("\\r"); continue;
        case u'\t': m_out.append("\\t"); continue;
        default: break;
        }
        const bool escape = u < 0x20 || u > 0xFF || (kEscapeNonAsciiInEnvelope && u >= 0x80);
        if (escape) {
            const char e[6] = {'\\', 'u', hex[(u >> 12) & 15], hex[(u >> 8) & 15], hex[(u >> 4) & 15], hex[u & 15]};
            m_out.append(e, 6);
        } else {
            m_out.append(char(u));
        }
    }
    m_out.append('"');
    return *this;
}

MessageWriter &MessageWriter::integer(qint64 value)
{
    m_out.append(QByteArray::number(value));
    return *this;
}

MessageWriter &MessageWriter::boolean(bool value)
{
    m_out.append(value ? "true" : "false");
    return *this;
}

MessageWriter &MessageWriter::null()
{
    m_out.append("null");
    return *this;
}

MessageWriter &MessageWriter::dataBlock(qint64 count, const char *bytes, qsizetype size, bool padded)
{
    m_out.append("{\"data\":[");
    QByteArray number = QByteArray::number(count);
    if (padded) {
        if (number.size() < kChunkCountWidth)
            number.append(kChunkCountWidth - number.size(), ' ');
    } else if (size == 0 && count == 0) {
        m_out.append("0]}");
        return *this;
    }
    m_out.append(number);
    m_out.append(',');
    m_out.append(bytes, size);
    m_out.append("]}");
    return *this;
}

MessageWriter &MessageWriter::beginRequest(const char *method)
{
    m_out.append("{\"method\":\"");
    m_out.append(method);
    m_out.append("\",\"params\":[");
    return *this;
}

MessageWriter &MessageWriter::endRequest()
{
    m_out.append("]}");
    return *this;
}

QByteArray request(const char *method, const QByteArray &paramsBody)
{
    MessageWriter w;
    w.beginRequest(method).raw(paramsBody).endRequest();
    return w.take();
}

} // namespace morvex::wire
