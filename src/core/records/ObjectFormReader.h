#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>
#include <QSet>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace morvex {

class TransferObject;

// Fills transfer objects from a parsed object form. Every declared field must be present with
// the right JSON kind; members the class does not declare are ignored. Errors raise
// ObjectFormError naming the class and the field; the object being read is then discarded by
// the caller, so nothing half-filled escapes.
class ObjectFormReader
{
public:
    std::unique_ptr<TransferObject> read(const QJsonObject &form);

    void operator()(const char *name, QString &value);
    void operator()(const char *name, qint32 &value);
    void operator()(const char *name, double &value);
    void operator()(const char *name, bool &value);

    template <class Element> void operator()(const char *name, std::vector<Element> &elements)
    {
        const QJsonArray array = arrayField(name);
        std::vector<Element> read;
        read.reserve(static_cast<std::size_t>(array.size()));
        for (qsizetype i = 0; i < array.size(); ++i) {
            Element element;
            arrayElement(name, i, array.at(i), element);
            read.push_back(std::move(element));
        }
        elements = std::move(read);
    }

    // Reads the envelope written by ObjectFormWriter::listItems. "FCount", when present, may be
    // smaller than the array (a list's spare capacity written as nulls); the elements past it
    // are ignored.
    template <class Element> void listItems(std::vector<Element> &elements)
    {
        const QJsonArray array = arrayField("FItems");
        const qsizetype count = listCount(array.size());
        std::vector<Element> read;
        read.reserve(static_cast<std::size_t>(count));
        for (qsizetype i = 0; i < count; ++i) {
            Element element;
            arrayElement("FItems", i, array.at(i), element);
            read.push_back(std::move(element));
        }
        elements = std::move(read);
    }

private:
    void fill(const QJsonObject &form, TransferObject &object);
    QJsonValue field(const char *name) const;
    QJsonArray arrayField(const char *name) const;
    qsizetype listCount(qsizetype arraySize) const;
    void arrayElement(const char *name, qsizetype index, const QJsonValue &value, TransferObject &element);
    [[noreturn]] void fail(const char *name, const std::string &problem) const;

    QJsonObject m_fields;
    QLatin1String m_className;
    QHash<qint64, QJsonObject> m_formsById; // for {"type":...,"ref":id}
    QSet<qint64> m_idsBeingRead;
};

} // namespace morvex
