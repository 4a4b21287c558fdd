#pragma once

// Support for the generated round-trip cases (RoundTripCases.cpp, made by remote-gen from the
// method catalogue): a TServerMethods1 that records what arrived and answers with values derived
// from it, and a client-side probe that derives the arguments, predicts the answers and checks
// them. Both sides derive from the same key: the method name and the arguments as text.

#include "QtPrinters.h"

#include "core/data/RecordSet.h"
#include "core/records/ObjectForm.h"
#include "core/records/TMobilStok.h"
#include "core/records/TSonucBilgisi.h"
#include "core/remote/MethodCatalogue.h"
#include "core/remote/RemoteCallback.h"
#include "core/remote/TServerMethods1.h"
#include "core/remote/TServerMethods1Client.h"
#include "core/wire/WireStream.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

namespace morvex::test {

// What one round trip varies.
struct RoundTripPlan
{
    bool nullObjects = false; // the client sends null objects and the server answers null objects
    int tableRows = 3;
    int streamBytes = 3000;
    int textRepeat = 1; // texts are repeated this often, to make them long
    // The server fails this method with ServerMethodError(errorName, errorCode, errorMessage),
    // or with a plain std::runtime_error(errorMessage) when errorName is empty.
    std::optional<MethodId> failOn;
    QString errorName;
    int errorCode = 0;
    QString errorMessage;
};

// Values derived from a key (a hash of the method and its arguments) and a position.
namespace derive {
    quint64 key(const QString &callText);
    QString text(quint64 key, int position, int repeat);
    qint32 int32(quint64 key, int position);
    qint64 int64(quint64 key, int position);
    double real(quint64 key, int position);
    bool boolean(quint64 key, int position);
    RecordSet table(quint64 key, int position, int rows);
    QByteArray bytes(quint64 key, int position, int length);
    QJsonArray jsonArray(quint64 key, int position);

    // Fills every field of a record (and two elements of every array or list) from the key.
    template <class T> void fill(T &object, quint64 key, int position);

    template <class T> std::unique_ptr<T> object(quint64 key, int position)
    {
        if constexpr (std::is_same_v<T, TransferObject>) {
            // "Any object": a stock item stands in.
            auto any = std::make_unique<TMobilStok>();
            fill(*any, key, position);
            return any;
        } else {
            auto made = std::make_unique<T>();
            fill(*made, key, position);
            return made;
        }
    }

    struct FieldFiller
    {
        quint64 key;
        int position;
        int index = 0;
        void operator()(const char *, QString &value) { value = text(key, position * 100 + index++, 1); }
        void operator()(const char *, qint32 &value) { value = int32(key, position * 100 + index++); }
        // Object-form numbers: quarters keep the decimal text short and exact.
        void operator()(const char *, double &value) { value = int32(key, position * 100 + index++) / 4.0; }
        void operator()(const char *, bool &value) { value = boolean(key, position * 100 + index++); }
        template <class Element> void operator()(const char *, std::vector<Element> &elements)
        {
            elements.clear();
            for (int i = 0; i < 2; ++i) {
                Element element;
                fill(element, key, position * 100 + index++);
                elements.push_back(std::move(element));
            }
        }
    };

    template <class T> void fill(T &object, quint64 key, int position)
    {
        if constexpr (requires { typename T::value_type; }) {
            object.Clear();
            for (int i = 0; i < 2; ++i) {
                typename T::value_type element;
                fill(element, key, position * 10 + i);
                object.Add(std::move(element));
            }
        } else {
            object.visitFields(FieldFiller { key, position });
        }
    }
} // namespace derive

// The arguments of one call as text, the same on both sides.
QString argumentText(const QString &value);
QString argumentText(qint32 value);
QString argumentText(qint64 value);
QString argumentText(double value);
QString argumentText(bool value);
QString argumentText(const TransferObject *object);
QString argumentText(const RemoteCallback &callback);

class RoundTripServerBase;

// The server's view of one call: the arguments that arrived, then the answers derived from them.
class Received
{
public:
    Received(RoundTripServerBase &server, MethodId method);
    ~Received();
    Received(const Received &) = delete;
    Received &operator=(const Received &) = delete;

    void add(const QString &value) { m_arguments << argumentText(value); }
    void add(qint32 value) { m_arguments << argumentText(value); }
    void add(qint64 value) { m_arguments << argumentText(value); }
    void add(double value) { m_arguments << argumentText(value); }
    void add(bool value) { m_arguments << argumentText(value); }
    void add(const RemoteCallback &value) { m_arguments << argumentText(value); }
    template <class T> void add(const std::unique_ptr<T> &object)
    {
        m_arguments << argumentText(object.get());
    }

    QString text(int position);
    qint32 int32(int position);
    qint64 int64(int position);
    double real(int position);
    bool boolean(int position);
    RecordSet table(int position);
    std::unique_ptr<WireStream> stream(int position);
    QJsonArray jsonArray(int position);
    template <class T> std::unique_ptr<T> object(int position)
    {
        return nullObjects() ? nullptr : derive::object<T>(key(), position);
    }

private:
    quint64 key();
    bool nullObjects() const;

    RoundTripServerBase &m_server;
    const RemoteMethod &m_method;
    QStringList m_arguments;
    std::optional<quint64> m_key;
};

class RoundTripServerBase
{
public:
    explicit RoundTripServerBase(RoundTripPlan plan);
    virtual ~RoundTripServerBase() = default;

    const RoundTripPlan &plan() const { return m_plan; }
    // "Method(arg, arg, ...)" of every call that arrived, in order.
    QStringList calls() const;
    QString lastCall() const;

    virtual TServerMethods1 &methods() = 0;

protected:
    Received receive(MethodId method);

private:
    friend class Received;
    void record(const QString &call);

    RoundTripPlan m_plan;
    mutable std::mutex m_mutex;
    QStringList m_calls;
};

// Made in the generated RoundTripCases.cpp.
std::unique_ptr<RoundTripServerBase> makeRoundTripServer(const RoundTripPlan &plan);

// The client's side of one call: derives the arguments, remembers them, and checks what comes
// back against the values the server derives from the same key. Failures are gtest failures.
class Probe
{
public:
    explicit Probe(RoundTripPlan plan);

    void begin(MethodId method);
    // "Method(arg, ...)" as the server should have recorded it.
    QString callText() const;

    QString text(int position);
    qint32 int32(int position);
    qint64 int64(int position);
    double real(int position);
    bool boolean(int position);
    RemoteCallback callback(int position);
    template <class T> std::unique_ptr<T> object(int position)
    {
        std::unique_ptr<T> made = m_plan.nullObjects ? nullptr : derive::object<T>(argumentKey(), position);
        m_arguments << argumentText(made.get());
        return made;
    }

    // A value an output parameter holds before the call; the call must replace it.
    template <class T> static T stale()
    {
        if constexpr (std::is_same_v<T, QString>)
            return QStringLiteral("eski değer");
        else if constexpr (std::is_same_v<T, bool>)
            return false;
        else
            return static_cast<T>(-777);
    }

    void check(int position, const QString &value);
    void check(int position, qint32 value);
    void check(int position, qint64 value);
    void check(int position, double value);
    void check(int position, bool value);
    void check(int position, const RecordSet &table);
    void check(int position, const std::shared_ptr<WireStream> &stream);
    void check(int position, const QJsonArray &array);
    template <class T> void check(int position, const std::unique_ptr<T> &object)
    {
        checkObject(
            position, object.get(), m_plan.nullObjects ? nullptr : derive::object<T>(key(), position));
    }

private:
    quint64 argumentKey() const; // varies the arguments between methods
    quint64 key() const; // the answers' key, from the call text
    void checkObject(int position, const TransferObject *actual, std::unique_ptr<TransferObject> expected);

    RoundTripPlan m_plan;
    const RemoteMethod *m_method = nullptr;
    QStringList m_arguments;
};

struct RoundTripCase
{
    MethodId method;
    void (*call)(TServerMethods1Client &proxy, Probe &probe);
};

// One case per catalogue method (generated).
const std::vector<RoundTripCase> &roundTripCases();

// Compares two record sets column by column and cell by cell; empty when equal.
QString tableDifference(const RecordSet &expected, const RecordSet &actual);

} // namespace morvex::test
