#include "core/records/ObjectFormWriter.h"

#include "core/records/ObjectFormError.h"
#include "core/records/TransferObject.h"

#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace morvex {

namespace {

    void appendHex4(QByteArray &out, char16_t unit)
    {
        static constexpr char digits[] = "0123456789ABCDEF";
        out += "\\u";
        out += digits[(unit >> 12) & 0xF];
        out += digits[(unit >> 8) & 0xF];
        out += digits[(unit >> 4) & 0xF];
        out += digits[unit & 0xF];
    }

    // The peer's JSON reader takes only ASCII safely, so everything else goes as \uXXXX, one escape
    // per UTF-16 unit (a surrogate pair becomes two). "/" is escaped as the peer's own writer does.
    void appendString(QByteArray &out, QStringView text)
    {
        out += '"';
        for (const QChar ch : text) {
            const char16_t unit = ch.unicode();
            switch (unit) {
            case u'"':
                out += "\\\"";
                break;
            case u'\\':
                out += "\\\\";
                break;
            case u'/':
                out += "\\/";
                break;
            case u'\b':
                out += "\\b";
                break;
            case u'\f':
                out += "\\f";
                break;
            case u'\n':
                out += "\\n";
                break;
            case u'\r':
                out += "\\r";
                break;
            case u'\t':
                out += "\\t";
                break;
            default:
                if (unit < 0x20 || unit >= 0x7F)
                    appendHex4(out, unit);
                else
                    out += static_cast<char>(unit);
            }
        }
        out += '"';
    }

    // The shortest text that reads back as the same double; whole values carry no fraction.
    void appendDouble(QByteArray &out, double value)
    {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, static_cast<qsizetype>(result.ptr - buffer));
    }

} // namespace

QByteArray ObjectFormWriter::write(const TransferObject &root)
{
    m_out.clear();
    m_nextId = 1;
    m_firstMember = true;
    m_className = {};
    object(root);
    return std::exchange(m_out, {});
}

void ObjectFormWriter::operator()(const char *name, const QString &value)
{
    key(name);
    appendString(m_out, value);
}

void ObjectFormWriter::operator()(const char *name, qint32 value)
{
    key(name);
    m_out += QByteArray::number(value);
}

void ObjectFormWriter::operator()(const char *name, double value)
{
    if (!std::isfinite(value)) {
        throw ObjectFormError(std::string(m_className.data(), static_cast<std::size_t>(m_className.size()))
            + ", field \"" + name + "\": " + (std::isnan(value) ? "NaN" : "an infinite value")
            + " has no JSON form");
    }
    key(name);
    appendDouble(m_out, value);
}

void ObjectFormWriter::operator()(const char *name, bool value)
{
    key(name);
    m_out += value ? "true" : "false";
}

void ObjectFormWriter::key(const char *name)
{
    if (!m_firstMember)
        m_out += ',';
    m_firstMember = false;
    m_out += '"';
    m_out += name;
    m_out += "\":";
}

void ObjectFormWriter::object(const TransferObject &object)
{
    const QLatin1String outerClass = m_className;
    const bool outerFirstMember = m_firstMember;
    m_className = object.qualifiedTypeName();

    m_out += "{\"type\":\"";
    m_out += QByteArrayView(m_className.data(), m_className.size());
    m_out += "\",\"id\":";
    m_out += QByteArray::number(m_nextId++);
    m_out += ",\"fields\":{";
    m_firstMember = true;
    object.writeFields(*this);
    m_out += "}}";

    m_className = outerClass;
    m_firstMember = outerFirstMember;
}

void ObjectFormWriter::beginArray(const char *name)
{
    key(name);
    m_out += '[';
    m_firstMember = true;
}

void ObjectFormWriter::arrayElement(const TransferObject &element)
{
    if (!m_firstMember)
        m_out += ',';
    m_firstMember = false;
    object(element);
}

void ObjectFormWriter::endArray()
{
    m_out += ']';
    m_firstMember = false;
}

} // namespace morvex
