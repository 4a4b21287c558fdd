#include "core/records/ObjectForm.h"

#include "core/records/TAcilisEkran.h"
#include "core/records/TAcilisEkranlar.h"
#include "core/records/TAcilisEkranlariki.h"
#include "core/records/TMobilCariBilgisi.h"
#include "core/records/TMobilSepet.h"
#include "core/records/TMobilSepetler.h"
#include "core/records/TMobilStok.h"
#include "core/records/TMobilStoklar.h"
#include "core/records/TSiparisDipAyrinti.h"
#include "core/records/TSonucBilgisi.h"
#include "core/records/TTusSonuclari.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <string>

namespace morvex {

namespace {

// Every class that may arrive in an object form, by qualified type name.
#define MORVEX_TRANSFER_CLASSES(X)                                                                           \
    X(TSonucBilgisi)                                                                                         \
    X(TSiparisDipAyrinti)                                                                                    \
    X(TTusSonuclari)                                                                                         \
    X(TMobilStok)                                                                                            \
    X(TMobilStoklar)                                                                                         \
    X(TMobilSepet)                                                                                           \
    X(TMobilSepetler)                                                                                        \
    X(TMobilCariBilgisi)                                                                                     \
    X(TAcilisEkran)                                                                                          \
    X(TAcilisEkranlar)                                                                                       \
    X(TAcilisEkranlariki)

    struct TransferClass
    {
        const char *typeName;
        std::unique_ptr<TransferObject> (*create)();
    };

#define MORVEX_REGISTRY_ENTRY(cls)                                                                           \
    { cls::TypeName, []() -> std::unique_ptr<TransferObject> { return std::make_unique<cls>(); } },
    constexpr TransferClass kTransferClasses[] = { MORVEX_TRANSFER_CLASSES(MORVEX_REGISTRY_ENTRY) };
#undef MORVEX_REGISTRY_ENTRY

} // namespace

QByteArray toObjectForm(const TransferObject &object)
{
    return ObjectFormWriter().write(object);
}

QByteArray toObjectForm(const TransferObject *object)
{
    return object ? toObjectForm(*object) : QByteArrayLiteral("null");
}

std::unique_ptr<TransferObject> createTransferObject(QStringView qualifiedTypeName)
{
    for (const TransferClass &entry : kTransferClasses) {
        if (qualifiedTypeName == QLatin1String(entry.typeName))
            return entry.create();
    }
    return nullptr;
}

std::unique_ptr<TransferObject> objectFromForm(QByteArrayView json)
{
    const QByteArray text = json.toByteArray().trimmed();
    if (text == "null")
        return nullptr;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        throw ObjectFormError("malformed object form: " + error.errorString().toStdString() + " at offset "
            + std::to_string(error.offset));
    }
    if (!document.isObject())
        throw ObjectFormError("malformed object form: not a JSON object");
    return ObjectFormReader().read(document.object());
}

} // namespace morvex
