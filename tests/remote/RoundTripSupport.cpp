#include "RoundTripSupport.h"

#include "core/wire/WireError.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonValue>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex::test {
namespace derive {
    namespace {

        quint64 mix(quint64 key, int position)
        {
            quint64 x = key ^ (static_cast<quint64>(position) + 1) * 0x9E3779B97F4A7C15ULL;
            x ^= x >> 31;
            x *= 0xBF58476D1CE4E5B9ULL;
            x ^= x >> 29;
            return x;
        }

    } // namespace

    quint64 key(const QString &callText)
    {
        // FNV-1a over the UTF-16 code units.
        quint64 hash = 0xCBF29CE484222325ULL;
        for (QChar c : callText) {
            hash ^= c.unicode();
            hash *= 0x100000001B3ULL;
        }
        return hash;
    }

    QString text(quint64 key, int position, int repeat)
    {
        // Turkish letters beyond Latin-1, quotes, a backslash and a control character, so that every
        // escape of the envelope and the string codec is exercised.
        static const QString letters = u"ğüşıöçĞÜŞİÖÇ"_s;
        const quint64 x = mix(key, position);
        QString piece = u"%1-%2 \"%3\" \\ /\t"_s.arg(position)
                            .arg(x % 100000)
                            .arg(letters.at(static_cast<int>(x % 12)));
        if (x % 3 == 0)
            piece += u"€"_s;
        return piece.repeated(std::max(1, repeat));
    }

    qint32 int32(quint64 key, int position)
    {
        const quint64 x = mix(key, position);
        switch (x % 4) {
        case 0:
            return 0;
        case 1:
            return -static_cast<qint32>(x % 100000);
        case 2:
            return static_cast<qint32>(x % 2147483647);
        default:
            return -2147483647 - 1 + static_cast<qint32>(x % 3); // around the most negative
        }
    }

    qint64 int64(quint64 key, int position)
    {
        const quint64 x = mix(key, position);
        return x % 2 ? static_cast<qint64>(x >> 2) : -static_cast<qint64>(x % 1000000007);
    }

    double real(quint64 key, int position)
    {
        const quint64 x = mix(key, position);
        // Values that need all 64 bits, and a few short ones.
        return x % 5 == 0 ? 0.0 : (static_cast<double>(x % 1000003) / 7.0) * (x % 2 ? 1 : -1);
    }

    bool boolean(quint64 key, int position)
    {
        return mix(key, position) % 2 == 1;
    }

    RecordSet table(quint64 key, int position, int rows)
    {
        RecordSet set;
        const int name = set.addField(u"ADI"_s, FieldType::Text);
        const int no = set.addField(u"SIRANO"_s, FieldType::Int32);
        const int big = set.addField(u"BOY"_s, FieldType::Int64);
        const int price = set.addField(u"FIYAT"_s, FieldType::Double);
        const int date = set.addField(u"TARIH"_s, FieldType::DateTime);
        const int sel = set.addField(u"SEC"_s, FieldType::Boolean);
        const QDateTime base(QDate(2024, 3, 15), QTime(10, 30, 0, 250));
        for (int r = 0; r < rows; ++r) {
            const int row = set.appendRow();
            const int p = position * 1000 + r;
            set.setText(row, name, text(key, p, 1));
            set.setInt32(row, no, int32(key, p));
            set.setInt64(row, big, int64(key, p));
            set.setReal(row, price, real(key, p));
            set.setDateTime(row, date, base.addSecs(static_cast<qint64>(mix(key, p) % 5000000)));
            set.setBoolean(row, sel, boolean(key, p));
            if (r % 4 == 3)
                set.setNull(row, (r / 4) % set.fieldCount());
        }
        return set;
    }

    QByteArray bytes(quint64 key, int position, int length)
    {
        QByteArray out(length, Qt::Uninitialized);
        quint64 x = mix(key, position);
        for (int i = 0; i < length; ++i) {
            x = x * 6364136223846793005ULL + 1442695040888963407ULL;
            out[i] = static_cast<char>(x >> 56);
        }
        return out;
    }

    QJsonArray jsonArray(quint64 key, int position)
    {
        return QJsonArray { text(key, position, 1), int32(key, position), boolean(key, position),
            QJsonValue::Null };
    }

} // namespace derive

QString argumentText(const QString &value)
{
    return u"text:"_s + value;
}

QString argumentText(qint32 value)
{
    return u"int32:"_s + QString::number(value);
}

QString argumentText(qint64 value)
{
    return u"int64:"_s + QString::number(value);
}

QString argumentText(double value)
{
    return u"real:"_s + QString::number(value, 'g', 17);
}

QString argumentText(bool value)
{
    return value ? u"true"_s : u"false"_s;
}

QString argumentText(const TransferObject *object)
{
    return object ? u"object:"_s + QString::fromUtf8(toObjectForm(*object)) : u"null"_s;
}

QString argumentText(const RemoteCallback &callback)
{
    return callback.isPresent() ? u"callback"_s : u"no callback"_s;
}

// ---- server side

Received::Received(RoundTripServerBase &server, MethodId method)
    : m_server(server)
    , m_method(remoteMethod(method))
{
}

Received::~Received()
{
    m_server.record(QLatin1StringView(m_method.name) + u'(' + m_arguments.join(u", "_s) + u')');
}

quint64 Received::key()
{
    if (!m_key)
        m_key = derive::key(QLatin1StringView(m_method.name) + u'(' + m_arguments.join(u", "_s) + u')');
    return *m_key;
}

bool Received::nullObjects() const
{
    return m_server.plan().nullObjects;
}

QString Received::text(int position)
{
    return derive::text(key(), position, m_server.plan().textRepeat);
}

qint32 Received::int32(int position)
{
    return derive::int32(key(), position);
}

qint64 Received::int64(int position)
{
    return derive::int64(key(), position);
}

double Received::real(int position)
{
    return derive::real(key(), position);
}

bool Received::boolean(int position)
{
    return derive::boolean(key(), position);
}

RecordSet Received::table(int position)
{
    return derive::table(key(), position, m_server.plan().tableRows);
}

std::unique_ptr<WireStream> Received::stream(int position)
{
    if (nullObjects())
        return nullptr;
    return std::make_unique<ByteArrayStream>(derive::bytes(key(), position, m_server.plan().streamBytes));
}

QJsonArray Received::jsonArray(int position)
{
    return derive::jsonArray(key(), position);
}

RoundTripServerBase::RoundTripServerBase(RoundTripPlan plan)
    : m_plan(std::move(plan))
{
}

QStringList RoundTripServerBase::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

QString RoundTripServerBase::lastCall() const
{
    std::lock_guard lock(m_mutex);
    return m_calls.isEmpty() ? QString() : m_calls.last();
}

void RoundTripServerBase::record(const QString &call)
{
    std::lock_guard lock(m_mutex);
    m_calls << call;
}

Received RoundTripServerBase::receive(MethodId method)
{
    if (m_plan.failOn == method) {
        if (m_plan.errorName.isEmpty())
            throw std::runtime_error(m_plan.errorMessage.toStdString());
        throw ServerMethodError(m_plan.errorName, m_plan.errorCode, m_plan.errorMessage);
    }
    return Received(*this, method);
}

// ---- client side

Probe::Probe(RoundTripPlan plan)
    : m_plan(std::move(plan))
{
}

void Probe::begin(MethodId method)
{
    m_method = &remoteMethod(method);
    m_arguments.clear();
}

QString Probe::callText() const
{
    return QLatin1StringView(m_method->name) + u'(' + m_arguments.join(u", "_s) + u')';
}

quint64 Probe::argumentKey() const
{
    return derive::key(QLatin1StringView(m_method->name));
}

quint64 Probe::key() const
{
    return derive::key(callText());
}

QString Probe::text(int position)
{
    const QString v = derive::text(argumentKey(), position, m_plan.textRepeat);
    m_arguments << argumentText(v);
    return v;
}

qint32 Probe::int32(int position)
{
    const qint32 v = derive::int32(argumentKey(), position);
    m_arguments << argumentText(v);
    return v;
}

qint64 Probe::int64(int position)
{
    const qint64 v = derive::int64(argumentKey(), position);
    m_arguments << argumentText(v);
    return v;
}

double Probe::real(int position)
{
    const double v = derive::real(argumentKey(), position);
    m_arguments << argumentText(v);
    return v;
}

bool Probe::boolean(int position)
{
    const bool v = derive::boolean(argumentKey(), position);
    m_arguments << argumentText(v);
    return v;
}

RemoteCallback Probe::callback(int)
{
    RemoteCallback v
        = m_plan.nullObjects ? RemoteCallback() : RemoteCallback([](const QJsonValue &in) { return in; });
    m_arguments << argumentText(v);
    return v;
}

void Probe::check(int position, const QString &value)
{
    EXPECT_EQ(value, derive::text(key(), position, m_plan.textRepeat)) << "position " << position;
}

void Probe::check(int position, qint32 value)
{
    EXPECT_EQ(value, derive::int32(key(), position)) << "position " << position;
}

void Probe::check(int position, qint64 value)
{
    EXPECT_EQ(value, derive::int64(key(), position)) << "position " << position;
}

void Probe::check(int position, double value)
{
    // Exact: a double travels as its bit pattern.
    EXPECT_EQ(value, derive::real(key(), position)) << "position " << position;
}

void Probe::check(int position, bool value)
{
    EXPECT_EQ(value, derive::boolean(key(), position)) << "position " << position;
}

void Probe::check(int position, const RecordSet &table)
{
    const QString difference = tableDifference(derive::table(key(), position, m_plan.tableRows), table);
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

void Probe::check(int position, const std::shared_ptr<WireStream> &stream)
{
    if (m_plan.nullObjects) {
        EXPECT_EQ(stream, nullptr) << "a null stream came back as a stream";
        return;
    }
    ASSERT_NE(stream, nullptr) << "position " << position;
    const QByteArray expected = derive::bytes(key(), position, m_plan.streamBytes);
    const QByteArray actual = stream->readAll();
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected) << "stream bytes differ";
}

void Probe::check(int position, const QJsonArray &array)
{
    EXPECT_EQ(array, derive::jsonArray(key(), position)) << "position " << position;
}

void Probe::checkObject(int position, const TransferObject *actual, std::unique_ptr<TransferObject> expected)
{
    if (!expected) {
        EXPECT_EQ(actual, nullptr) << "a null object came back as an object, position " << position;
        return;
    }
    ASSERT_NE(actual, nullptr) << "position " << position;
    EXPECT_EQ(QString(actual->qualifiedTypeName()), QString(expected->qualifiedTypeName()));
    EXPECT_EQ(toObjectForm(*actual), toObjectForm(*expected));
}

QString tableDifference(const RecordSet &expected, const RecordSet &actual)
{
    if (expected.fieldCount() != actual.fieldCount())
        return u"%1 columns, expected %2"_s.arg(actual.fieldCount()).arg(expected.fieldCount());
    for (int c = 0; c < expected.fieldCount(); ++c) {
        if (expected.field(c).name != actual.field(c).name || expected.field(c).type != actual.field(c).type)
            return u"column %1 is %2, expected %3"_s.arg(c).arg(actual.field(c).name, expected.field(c).name);
    }
    if (expected.rowCount() != actual.rowCount())
        return u"%1 rows, expected %2"_s.arg(actual.rowCount()).arg(expected.rowCount());
    for (int r = 0; r < expected.rowCount(); ++r) {
        for (int c = 0; c < expected.fieldCount(); ++c) {
            if (expected.isNull(r, c) != actual.isNull(r, c) || expected.value(r, c) != actual.value(r, c)) {
                return u"row %1 column %2: %3, expected %4"_s.arg(r).arg(
                    expected.field(c).name, actual.value(r, c).toString(), expected.value(r, c).toString());
            }
        }
    }
    return {};
}

} // namespace morvex::test
