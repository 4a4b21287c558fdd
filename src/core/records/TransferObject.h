#pragma once

#include "core/records/ObjectFormReader.h"
#include "core/records/ObjectFormWriter.h"

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <type_traits>
#include <vector>

namespace morvex {

// The kinds a transfer record's field can have, as C++ types.
namespace fieldkind {
    using Text = QString;
    using Integer = qint32;
    using Real = double;
    using Date = double; // whole days since 30 December 1899, time of day as the fraction
    using Boolean = bool;
    template <class Element>
    using Array = std::vector<Element>; // travels as a JSON array of nested object forms
} // namespace fieldkind

// Accessors take and give numbers by value, everything else by const reference.
template <class T> using FieldArg = std::conditional_t<std::is_arithmetic_v<T>, T, const T &>;

// Base of every object that travels in the JSON object form: the session record, the
// transfer records and their lists. Concrete classes are plain values (copyable, comparable);
// the base only adds the qualified type name and the hooks the object form uses.
class TransferObject
{
public:
    virtual ~TransferObject() = default;

    // Unit name, a point and the class name, e.g. "baglantiu.TSonucBilgisi".
    virtual QLatin1String qualifiedTypeName() const = 0;
    virtual std::unique_ptr<TransferObject> clone() const = 0;

protected:
    TransferObject() = default;
    TransferObject(const TransferObject &) = default;
    TransferObject(TransferObject &&) = default;
    TransferObject &operator=(const TransferObject &) = default;
    TransferObject &operator=(TransferObject &&) = default;

private:
    friend class ObjectFormWriter;
    friend class ObjectFormReader;
    virtual void writeFields(ObjectFormWriter &writer) const = 0;
    virtual void readFields(ObjectFormReader &reader) = 0;
};

} // namespace morvex

// A record class is declared by one list of its fields, in wire order:
//     #define MORVEX_TMOBILSTOK_FIELDS(X) X(Integer, StokNo, 0) X(Text, Birim, QStringLiteral("ADET")) ...
// Each entry is (kind from morvex::fieldkind, name without the leading "F", default). The list
// gives the members (m_<name>), the accessors <name>() / set<name>(), the field's wire name
// "F<name>", and through visitFields() the object form; copies and comparison follow the
// members, so nothing else names the fields again.
#define MORVEX_RECORD_MEMBER(kind, name, init) ::morvex::fieldkind::kind m_##name = init;
#define MORVEX_RECORD_ACCESSORS(kind, name, init)                                                            \
    ::morvex::FieldArg<::morvex::fieldkind::kind> name() const                                               \
    {                                                                                                        \
        return m_##name;                                                                                     \
    }                                                                                                        \
    void set##name(::morvex::FieldArg<::morvex::fieldkind::kind> value)                                      \
    {                                                                                                        \
        m_##name = value;                                                                                    \
    }
#define MORVEX_RECORD_VISIT(kind, name, init) visitor("F" #name, m_##name);
#define MORVEX_RECORD_EQUAL(kind, name, init) &&m_##name == other.m_##name

#define MORVEX_TRANSFER_TYPE(unit, cls)                                                                      \
public:                                                                                                      \
    static constexpr char TypeName[] = #unit "." #cls;                                                       \
    QLatin1String qualifiedTypeName() const override                                                         \
    {                                                                                                        \
        return QLatin1String(TypeName);                                                                      \
    }                                                                                                        \
    std::unique_ptr<::morvex::TransferObject> clone() const override                                         \
    {                                                                                                        \
        return std::make_unique<cls>(*this);                                                                 \
    }

#define MORVEX_TRANSFER_RECORD(unit, cls, FIELDS)                                                            \
    MORVEX_TRANSFER_TYPE(unit, cls)                                                                          \
    bool operator==(const cls &other) const                                                                  \
    {                                                                                                        \
        return true FIELDS(MORVEX_RECORD_EQUAL);                                                             \
    }                                                                                                        \
    FIELDS(MORVEX_RECORD_ACCESSORS)                                                                          \
    template <class Visitor> void visitFields(Visitor &&visitor)                                             \
    {                                                                                                        \
        FIELDS(MORVEX_RECORD_VISIT)                                                                          \
    }                                                                                                        \
    template <class Visitor> void visitFields(Visitor &&visitor) const                                       \
    {                                                                                                        \
        FIELDS(MORVEX_RECORD_VISIT)                                                                          \
    }                                                                                                        \
                                                                                                             \
private:                                                                                                     \
    void writeFields(::morvex::ObjectFormWriter &writer) const override                                      \
    {                                                                                                        \
        visitFields(writer);                                                                                 \
    }                                                                                                        \
    void readFields(::morvex::ObjectFormReader &reader) override                                             \
    {                                                                                                        \
        visitFields(reader);                                                                                 \
    }                                                                                                        \
    FIELDS(MORVEX_RECORD_MEMBER)                                                                             \
public:

// Kopyala: copies every field of the source; the two share nothing afterwards (the text fields
// are values). Copying a record into itself leaves it unchanged.
#define MORVEX_RECORD_KOPYALA(cls)                                                                           \
    void Kopyala(const cls &source)                                                                          \
    {                                                                                                        \
        if (this != &source)                                                                                 \
            *this = source;                                                                                  \
    }
