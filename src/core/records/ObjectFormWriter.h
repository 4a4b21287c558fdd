#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>

#include <vector>

namespace morvex {

class TransferObject;

// Writes one transfer object and everything nested in it as compact JSON text in the order
// the fields are declared. QJsonObject cannot be used for this: it sorts its keys.
// A record's fields reach the writer through its visitFields(), one call per field.
class ObjectFormWriter
{
public:
    QByteArray write(const TransferObject &root);

    void operator()(const char *name, const QString &value);
    void operator()(const char *name, qint32 value);
    void operator()(const char *name, double value);
    void operator()(const char *name, bool value);

    template <class Element> void operator()(const char *name, const std::vector<Element> &elements)
    {
        beginArray(name);
        for (const Element &element : elements)
            arrayElement(element);
        endArray();
    }

    // The envelope of the list classes: "FItems" holds the element objects in order, "FCount"
    // their number (the layout of the generic object list that the server's lists derive from).
    template <class Element> void listItems(const std::vector<Element> &elements)
    {
        (*this)("FItems", elements);
        (*this)("FCount", static_cast<qint32>(elements.size()));
    }

private:
    void key(const char *name);
    void object(const TransferObject &object);
    void beginArray(const char *name);
    void arrayElement(const TransferObject &element);
    void endArray();

    QByteArray m_out;
    int m_nextId = 1;
    bool m_firstMember = true;
    QLatin1String m_className;
};

} // namespace morvex
