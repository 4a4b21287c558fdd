#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <variant>

namespace morvex {

class RecordSet;
class WireStream;

// The value of one server-method parameter. Tables and streams are shared handles: the command
// (client) or the call (server) that produced them owns them; copies of the value share them.
class WireValue
{
public:
    enum class Kind { Null, Text, Int32, Int64, Double, Boolean, DateTime, Table, Stream, Json, Callback };

    WireValue() = default; // null

    static WireValue text(QString value);
    static WireValue int32(qint32 value);
    static WireValue int64(qint64 value);
    static WireValue real(double value);
    static WireValue boolean(bool value);
    // A TDateTime: whole days since 1899-12-30, the time of day as the fraction.
    static WireValue dateTime(double days);
    static WireValue table(std::shared_ptr<RecordSet> table);
    static WireValue stream(std::shared_ptr<WireStream> stream);
    // JSON text (UTF-8): a plain JSON value or a marshalled object's form.
    static WireValue json(QByteArray text);
    static WireValue callback();

    Kind kind() const;
    bool isNull() const { return kind() == Kind::Null; }

    // Typed reads. Integers widen to Int64 and Double; a DateTime reads as its day count. Any
    // other mismatch raises WireError naming both kinds.
    QString toText() const;
    qint32 toInt32() const;
    qint64 toInt64() const;
    double toDouble() const;
    bool toBool() const;
    double toDateTime() const;
    const std::shared_ptr<RecordSet> &toTable() const;
    const std::shared_ptr<WireStream> &toStream() const;
    const QByteArray &toJson() const;

    static QString kindName(Kind kind);

private:
    struct DateTimeDays
    {
        double days;
    };
    struct JsonText
    {
        QByteArray text;
    };
    struct CallbackMarker
    {
    };
    using Storage = std::variant<std::monostate, QString, qint32, qint64, double, bool, DateTimeDays,
                                 std::shared_ptr<RecordSet>, std::shared_ptr<WireStream>, JsonText, CallbackMarker>;

    explicit WireValue(Storage storage);
    [[noreturn]] void mismatch(Kind wanted) const;

    Storage m_value;
};

} // namespace morvex
