#include "core/records/ObjectFormReader.h"

#include "core/records/ObjectForm.h"
#include "core/records/ObjectFormError.h"
#include "core/records/TransferObject.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace morvex {

namespace {

    const char *kindOf(const QJsonValue &value)
    {
        switch (value.type()) {
        case QJsonValue::Null:
            return "null";
        case QJsonValue::Bool:
            return "a boolean";
        case QJsonValue::Double:
            return "a number";
        case QJsonValue::String:
            return "a string";
        case QJsonValue::Array:
            return "an array";
        case QJsonValue::Object:
            return "an object";
        case QJsonValue::Undefined:
            break;
        }
        return "nothing";
    }

    std::string latin1(QLatin1String text)
    {
        return std::string(text.data(), static_cast<std::size_t>(text.size()));
    }

    // A JSON number holding a whole value within [low, high]; nothing otherwise.
    std::optional<qint64> wholeNumber(const QJsonValue &value, qint64 low, qint64 high)
    {
        if (!value.isDouble())
            return std::nullopt;
        const double number = value.toDouble();
        if (!(number >= static_cast<double>(low) && number <= static_cast<double>(high))
            || number != std::trunc(number))
            return std::nullopt;
        return static_cast<qint64>(number);
    }

    [[noreturn]] void cannotInstantiate(const QString &typeName)
    {
        throw ObjectFormError("Internal: Cannot instantiate type " + typeName.toStdString());
    }

    QString typeOf(const QJsonObject &form, const std::string &where)
    {
        const QJsonValue type = form.value(QLatin1String("type"));
        if (!type.isString())
            throw ObjectFormError(where + " has no \"type\" string");
        return type.toString();
    }

} // namespace

std::unique_ptr<TransferObject> ObjectFormReader::read(const QJsonObject &form)
{
    m_fields = {};
    m_className = {};
    m_formsById.clear();
    m_idsBeingRead.clear();

    const QString typeName = typeOf(form, "object form");
    std::unique_ptr<TransferObject> object = createTransferObject(typeName);
    if (!object)
        cannotInstantiate(typeName);
    fill(form, *object);
    return object;
}

void ObjectFormReader::fill(const QJsonObject &form, TransferObject &object)
{
    const QLatin1String className = object.qualifiedTypeName();
    std::optional<qint64> id;
    if (form.contains(QLatin1String("id"))) {
        id = wholeNumber(form.value(QLatin1String("id")), std::numeric_limits<qint32>::min(),
            std::numeric_limits<qint32>::max());
        if (!id)
            throw ObjectFormError(latin1(className) + ": \"id\" is not an integer");
        m_formsById.insert(*id, form);
        m_idsBeingRead.insert(*id);
    }
    const QJsonValue fields = form.value(QLatin1String("fields"));
    if (!fields.isObject())
        throw ObjectFormError(latin1(className) + ": \"fields\" is missing or not an object");

    const QJsonObject outerFields = std::exchange(m_fields, fields.toObject());
    const QLatin1String outerClass = std::exchange(m_className, className);
    object.readFields(*this);
    m_fields = outerFields;
    m_className = outerClass;
    if (id)
        m_idsBeingRead.remove(*id);
}

QJsonValue ObjectFormReader::field(const char *name) const
{
    const auto it = m_fields.constFind(QLatin1String(name));
    if (it == m_fields.constEnd())
        fail(name, "is missing");
    return it.value();
}

void ObjectFormReader::operator()(const char *name, QString &value)
{
    const QJsonValue json = field(name);
    if (!json.isString())
        fail(name, std::string("must be a string, found ") + kindOf(json));
    value = json.toString();
}

void ObjectFormReader::operator()(const char *name, qint32 &value)
{
    const QJsonValue json = field(name);
    const auto number
        = wholeNumber(json, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    if (!number) {
        fail(name,
            json.isDouble()
                ? std::string("must be a 32-bit integer, found ") + json.toVariant().toString().toStdString()
                : std::string("must be an integer, found ") + kindOf(json));
    }
    value = static_cast<qint32>(*number);
}

void ObjectFormReader::operator()(const char *name, double &value)
{
    const QJsonValue json = field(name);
    if (!json.isDouble())
        fail(name, std::string("must be a number, found ") + kindOf(json));
    value = json.toDouble();
}

void ObjectFormReader::operator()(const char *name, bool &value)
{
    const QJsonValue json = field(name);
    if (!json.isBool())
        fail(name, std::string("must be true or false, found ") + kindOf(json));
    value = json.toBool();
}

QJsonArray ObjectFormReader::arrayField(const char *name) const
{
    const QJsonValue json = field(name);
    if (!json.isArray())
        fail(name, std::string("must be an array, found ") + kindOf(json));
    return json.toArray();
}

qsizetype ObjectFormReader::listCount(qsizetype arraySize) const
{
    if (!m_fields.contains(QLatin1String("FCount")))
        return arraySize;
    const auto count = wholeNumber(m_fields.value(QLatin1String("FCount")), 0, arraySize);
    if (!count)
        fail("FCount",
            "must be a whole number from 0 to the " + std::to_string(arraySize) + " elements of \"FItems\"");
    return static_cast<qsizetype>(*count);
}

void ObjectFormReader::arrayElement(
    const char *name, qsizetype index, const QJsonValue &value, TransferObject &element)
{
    const std::string which = "element " + std::to_string(index);
    if (!value.isObject())
        fail(name, which + " must be an object, found " + kindOf(value));

    QJsonObject form = value.toObject();
    if (form.contains(QLatin1String("ref")) && !form.contains(QLatin1String("fields"))) {
        // A repeat of an object already written in this message; records are values, so the
        // repeat is read again as a copy.
        const auto id = wholeNumber(form.value(QLatin1String("ref")), std::numeric_limits<qint32>::min(),
            std::numeric_limits<qint32>::max());
        if (!id || !m_formsById.contains(*id))
            fail(name, which + " refers to no earlier object");
        if (m_idsBeingRead.contains(*id))
            fail(name, which + " refers to an object that contains it");
        form = m_formsById.value(*id);
    }

    const QString typeName = typeOf(form, latin1(m_className) + ", field \"" + name + "\", " + which);
    const QLatin1String expected = element.qualifiedTypeName();
    if (typeName != expected) {
        if (!createTransferObject(typeName))
            cannotInstantiate(typeName);
        fail(name, which + " is a " + typeName.toStdString() + ", expected " + latin1(expected));
    }
    fill(form, element);
}

void ObjectFormReader::fail(const char *name, const std::string &problem) const
{
    throw ObjectFormError(latin1(m_className) + ", field \"" + name + "\": " + problem);
}

} // namespace morvex
