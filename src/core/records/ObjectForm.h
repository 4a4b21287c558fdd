#pragma once

#include "core/records/ObjectFormError.h"
#include "core/records/TransferObject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1String>
#include <QStringView>

#include <memory>

namespace morvex {

// The JSON object form of a transfer object:
//     {"type":"<unit>.<class>","id":1,"fields":{"F<name>":value,...}}
// compact, fields in declaration order, nested objects numbered in the order written (root 1),
// non-ASCII characters and "/" escaped. The list classes write their elements as
//     "fields":{"FItems":[<element forms>],"FCount":n}
// and when reading accept any extra members around "FItems" ("FCount" optional).
QByteArray toObjectForm(const TransferObject &object);
// A null object is the JSON text "null".
QByteArray toObjectForm(const TransferObject *object);

// Reads an object form back into a new object of the class named by "type", made with that
// class's defaults and then filled. The text "null" yields nullptr. Raises ObjectFormError on
// malformed JSON, a missing or mistyped field, or a "type" with no class here ("Internal:
// Cannot instantiate type <name>").
std::unique_ptr<TransferObject> objectFromForm(QByteArrayView json);

// A new object with its defaults for a qualified type name, or nullptr for an unknown name.
std::unique_ptr<TransferObject> createTransferObject(QStringView qualifiedTypeName);

// As objectFromForm, but the object must be a T; any other class raises ObjectFormError.
template <class T> std::unique_ptr<T> objectFromFormAs(QByteArrayView json)
{
    std::unique_ptr<TransferObject> object = objectFromForm(json);
    if (!object)
        return nullptr;
    if (auto *typed = dynamic_cast<T *>(object.get())) {
        object.release();
        return std::unique_ptr<T>(typed);
    }
    throw ObjectFormError(std::string("expected an object of type ") + T::TypeName + ", got "
        + std::string(object->qualifiedTypeName().data(),
            static_cast<std::size_t>(object->qualifiedTypeName().size())));
}

} // namespace morvex
