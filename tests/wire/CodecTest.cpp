// The row codec and the envelope against hand-checked bytes.

#include "core/wire/ByteReader.h"
#include "core/wire/Message.h"
#include "core/wire/RowCodec.h"
#include "core/wire/ValueCodec.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <QDate>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::wire;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

double tdt(int y, int m, int d, qint64 msOfDay)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) + double(msOfDay) / 86'400'000.0;
}

WireValue blob(const QByteArray &bytes)
{
    return WireValue::stream(std::make_shared<ByteArrayStream>(bytes));
}

// Compares what a value holds; streams by their bytes, date-times to the millisecond.
void expectSame(const WireValue &expected, const WireValue &actual)
{
    ASSERT_EQ(int(expected.kind()), int(actual.kind())) << WireValue::kindName(actual.kind()).toStdString();
    switch (expected.kind()) {
    case WireValue::Kind::Text: EXPECT_EQ(expected.toText(), actual.toText()); break;
    case WireValue::Kind::Int32: EXPECT_EQ(expected.toInt32(), actual.toInt32()); break;
    case WireValue::Kind::Int64: EXPECT_EQ(expected.toInt64(), actual.toInt64()); break;
    case WireValue::Kind::Double: EXPECT_EQ(expected.toDouble(), actual.toDouble()); break;
    case WireValue::Kind::Boolean: EXPECT_EQ(expected.toBool(), actual.toBool()); break;
    case WireValue::Kind::DateTime:
        EXPECT_EQ(dateTimeToMs(expected.toDateTime()), dateTimeToMs(actual.toDateTime()));
        break;
    case WireValue::Kind::Json: EXPECT_EQ(expected.toJson(), actual.toJson()); break;
    default: break;
    }
}

struct FieldCase
{
    const char *label;
    DataType type;
    WireValue value;
    QByteArray bytes;
    QByteArray streamBytes = {}; // for stream values
};

std::vector<FieldCase> fieldCases()
{
    const QByteArray forty(40, 'x');
    return {
        {"int 5", DataType::Int32, WireValue::int32(5), hex("61 05")},
        {"int 300", DataType::Int32, WireValue::int32(300), hex("62 01 2C")},
        {"int -1", DataType::Int32, WireValue::int32(-1), hex("21 01")},
        {"int -300", DataType::Int32, WireValue::int32(-300), hex("22 01 2C")},
        {"int 2^31-1", DataType::Int32, WireValue::int32(2147483647), hex("64 7F FF FF FF")},
        {"int 0", DataType::Int32, WireValue::int32(0), hex("60")},
        {"int -2^31", DataType::Int32, WireValue::int32(std::numeric_limits<qint32>::min()), hex("24 80 00 00 00")},
        {"int16 -2", DataType::Int16, WireValue::int32(-2), hex("21 02")},
        {"int64 -2^63", DataType::Int64, WireValue::int64(std::numeric_limits<qint64>::min()),
         hex("28 80 00 00 00 00 00 00 00")},
        {"int64 2^63-1", DataType::Int64, WireValue::int64(std::numeric_limits<qint64>::max()),
         hex("68 7F FF FF FF FF FF FF FF")},
        {"int64 52428800", DataType::Int64, WireValue::int64(52'428'800), hex("64 03 20 00 00")},
        {"double 1.5", DataType::Double, WireValue::real(1.5), hex("62 3F F8")},
        {"double 0.1", DataType::Double, WireValue::real(0.1), hex("68 3F B9 99 99 99 99 99 9A")},
        {"double -2.0", DataType::Double, WireValue::real(-2.0), hex("21 C0")},
        {"double 0.0", DataType::Double, WireValue::real(0.0), hex("60")},
        {"single 1.5", DataType::Single, WireValue::real(1.5), hex("62 3F C0")},
        {"boolean true", DataType::Boolean, WireValue::boolean(true), hex("60")},
        {"boolean false", DataType::Boolean, WireValue::boolean(false), hex("20")},
        {"date 2024-03-15", DataType::Date, WireValue::int32(1036399), hex("63 0F D0 6F")},
        {"time 10:30:15.500", DataType::Time, WireValue::int32(37815500), hex("64 02 41 04 CC")},
        {"timestamp with ms", DataType::DateTime, WireValue::dateTime(tdt(2024, 3, 15, 37'800'250)),
         hex("2B 66 01 8E 41 A9 54 40 0E E6 B2 80")},
        {"timestamp whole second", DataType::TimeStamp, WireValue::dateTime(tdt(2024, 3, 15, 37'800'000)),
         hex("27 66 01 8E 41 A9 54 40")},
        {"timestamp 1970", DataType::DateTime, WireValue::dateTime(25569.0), hex("21 60")},
        {"timestamp before 1970", DataType::DateTime, WireValue::dateTime(tdt(1969, 12, 31, 43'200'000)),
         hex("25 24 02 93 2E 00")},
        {"string abc", DataType::WideString, WireValue::text(u"abc"_s), hex("23 61 62 63")},
        {"string Müller", DataType::WideString, WireValue::text(u"Müller"_s), hex("26 4D FC 6C 6C 65 72")},
        {"string Zł", DataType::WideString, WireValue::text(u"Zł"_s), hex("24 5A FF 01 42")},
        {"string €5", DataType::WideString, WireValue::text(u"€5"_s), hex("25 FF 20 AC 00 35")},
        {"string ÿ switches", DataType::WideString, WireValue::text(u"aÿ"_s), hex("24 61 FF 00 FF")},
        {"string empty", DataType::WideString, WireValue::text(QString()), hex("20")},
        {"string 40 bytes", DataType::WideString, WireValue::text(QString::fromLatin1(forty)), hex("10 00 28") + forty},
        {"memo blob as string", DataType::Blob, WireValue::text(u"not"_s), hex("23 6E 6F 74")},
        {"stream empty", DataType::BinaryBlob, blob({}), hex("20")},
        {"stream 3 bytes", DataType::BinaryBlob, blob(hex("01 02 03")), hex("10 00 03 01 02 03"), hex("01 02 03")},
        {"stream 3000 bytes", DataType::BinaryBlob, blob(QByteArray(3000, 'z')), hex("10 0B B8") + QByteArray(3000, 'z'),
         QByteArray(3000, 'z')},
        {"json", DataType::JsonValue, WireValue::json("{\"a\":1}"), hex("40 00 00 00 07") + "{\"a\":1}"},
        {"callback", DataType::Callback, WireValue::callback(), hex("02")},
        {"null text", DataType::WideString, WireValue(), hex("C0")},
        {"null object", DataType::JsonValue, WireValue(), hex("C0")},
        {"null stream", DataType::BinaryBlob, WireValue(), hex("C0")},
    };
}

TEST(WireRowCodec, EncodesEachKindToTheFixtureBytes)
{
    for (const FieldCase &c : fieldCases()) {
        SCOPED_TRACE(c.label);
        RowWriter row;
        const ParamSpec spec{u"p"_s, c.type, c.type == DataType::Blob ? int(SubType::Memo) : 0, Direction::In};
        const auto rest = encodeValue(row, spec, c.value, kMaxInlineBytes, 1000);
        EXPECT_FALSE(rest);
        EXPECT_EQ(row.bytes().toHex(' '), c.bytes.toHex(' '));
    }
}

TEST(WireRowCodec, DecodesEachFixtureToItsValue)
{
    for (const FieldCase &c : fieldCases()) {
        SCOPED_TRACE(c.label);
        RowReader reader(c.bytes);
        const ParamSpec spec{u"p"_s, c.type, c.type == DataType::Blob ? int(SubType::Memo) : 0, Direction::Return};
        DecodedParam d = decodeValue(reader.next(), spec);
        EXPECT_TRUE(reader.atEnd());
        EXPECT_FALSE(d.more);
        expectSame(c.value, d.value);
        if (c.value.kind() == WireValue::Kind::Stream) {
            EXPECT_EQ(d.value.toStream()->readAll(), c.streamBytes);
        }
    }
}

TEST(WireRowCodec, ReadsTheFormsOnlyOlderWritersUse)
{
    struct Case
    {
        const char *label;
        DataType type;
        QByteArray bytes;
        WireValue expected;
    } cases[] = {
        {"0x80 is null too", DataType::WideString, hex("80"), WireValue()},
        {"JSON text null is a null object", DataType::JsonValue, hex("40 00 00 00 04") + "null", WireValue()},
        {"legacy NUL-terminated string", DataType::WideString, hex("00 61 62 00"), WireValue::text(u"ab"_s)},
        {"AnsiString in the server code page", DataType::AnsiString, hex("25 44 FD FE 45 52"), WireValue::text(u"DışER"_s)},
        {"AnsiString with the 0xFF switch", DataType::AnsiString, hex("23 FF 01 5F"), WireValue::text(u"ş"_s)},
        {"Berlin AnsiString with the stream header", DataType::AnsiString, hex("10 00 02 4F 4B"), WireValue::text(u"OK"_s)},
        {"currency as decimal text", DataType::Currency, hex("26 31 32 33 2E 34 35"), WireValue::real(123.45)},
        {"table placeholder", DataType::Table, hex("60"), WireValue()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        RowReader reader(c.bytes);
        DecodedParam d = decodeValue(reader.next(), {u"p"_s, c.type, 0, Direction::Return});
        EXPECT_TRUE(reader.atEnd());
        expectSame(c.expected, d.value);
        EXPECT_EQ(d.table, c.type == DataType::Table);
    }
}

TEST(WireRowCodec, CutsLongValuesAtTheInlineLimitWithTheMoreBit)
{
    const QByteArray text(100, 'a');
    RowWriter row;
    const auto rest = encodeValue(row, {u"s"_s, DataType::WideString}, WireValue::text(QString::fromLatin1(text)), 40, 30);
    ASSERT_TRUE(rest);
    EXPECT_EQ(row.bytes().left(3).toHex(' '), "50 00 28");
    bool last = false;
    EXPECT_EQ(rest->nextChunk(30, last).size(), 30);
    EXPECT_FALSE(last);
    EXPECT_EQ(rest->nextChunk(30, last).size(), 30);
    EXPECT_TRUE(last);

    RowWriter tiny;
    encodeValue(tiny, {u"s"_s, DataType::WideString}, WireValue::text(u"abcdef"_s), 4, 30);
    EXPECT_EQ(tiny.bytes().toHex(' '), "64 61 62 63 64") << "tiny form with the more bit";

    RowWriter stream;
    const auto streamRest = encodeValue(stream, {u"b"_s, DataType::BinaryBlob}, blob(QByteArray(3000, 'q')), 1024, 992);
    ASSERT_TRUE(streamRest);
    EXPECT_EQ(stream.bytes().left(3).toHex(' '), "50 04 00");
    const int sizes[] = {992, 984};
    for (const int size : sizes) {
        EXPECT_EQ(streamRest->nextChunk(992, last).size(), size);
    }
    EXPECT_TRUE(last);

    // A stream exactly at the limit needs no more_blob.
    RowWriter exact;
    EXPECT_FALSE(encodeValue(exact, {u"b"_s, DataType::BinaryBlob}, blob(QByteArray(1024, 'q')), 1024, 992));
    EXPECT_EQ(exact.bytes().left(3).toHex(' '), "10 04 00");
}

TEST(WireRowCodec, InlineCapacityFollowsTheRowBuffer)
{
    EXPECT_EQ(inlineCapacity(0, 1024), 1024);
    EXPECT_EQ(inlineCapacity(0, kDefaultBufferBytes), kDefaultBufferBytes - 3);
    EXPECT_EQ(inlineCapacity(kDefaultBatchThreshold - kNearEndWindow, kDefaultBufferBytes), 1024);
    EXPECT_EQ(inlineCapacity(0, 200 * 1024), kMaxInlineBytes);
}

TEST(WireRowCodec, RefusesMalformedFields)
{
    struct Case
    {
        const char *label;
        DataType type;
        QByteArray bytes;
    } cases[] = {
        {"integer shorter than its header", DataType::Int32, hex("62 01")},
        {"big field past the end", DataType::WideString, hex("10 00 05 61")},
        {"JSON block past the end", DataType::JsonValue, hex("40 00 00 00 09 7B")},
        {"JSON length near 4 GiB", DataType::JsonValue, hex("40 FF FF FF FF 7B")},
        {"unknown header", DataType::Int32, hex("01")},
        {"header 04", DataType::Int32, hex("04")},
        {"integer of nine bytes", DataType::Int64, hex("29 01 02 03 04 05 06 07 08 09")},
        {"positive integer above 2^63-1", DataType::Int64, hex("68 80 00 00 00 00 00 00 00")},
        {"negative integer below -2^63", DataType::Int64, hex("28 80 00 00 00 00 00 00 01")},
        {"32-bit value out of range", DataType::Int32, hex("65 01 00 00 00 00")},
        {"odd UTF-16 tail", DataType::WideString, hex("23 41 FF 00")},
        {"boolean with a payload", DataType::Boolean, hex("61 01")},
        {"timestamp with a short fraction", DataType::DateTime, hex("24 61 00 00 00")},
        {"timestamp nanoseconds of a whole second", DataType::DateTime, hex("26 60 3B 9A CA 00")},
        {"timestamp without an integer", DataType::DateTime, hex("21 C0")},
        {"JSON value as a string", DataType::JsonValue, hex("23 61 62 63")},
        {"string where a number belongs", DataType::Double, hex("10 00 01 61")},
        {"NUL string without terminator", DataType::WideString, hex("00 61 62")},
        {"decimal text that is no number", DataType::Currency, hex("23 61 62 63")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_THROW(
            {
                RowReader reader(c.bytes);
                decodeValue(reader.next(), {u"p"_s, c.type, 0, Direction::Return});
            },
            ProtocolError);
    }
}

TEST(WireRowCodec, DateTimeDaysAndMillisecondsAgree)
{
    const double cases[] = {0.0, 1.5, 45366.4375, -1.25, -693593.0, 2958465.999988426};
    for (const double days : cases) {
        SCOPED_TRACE(days);
        EXPECT_NEAR(msToDateTime(dateTimeToMs(days)), days, 1e-8);
    }
    // Before 1899-12-30 the fraction is still the time of day: -1.25 is 1899-12-29 06:00.
    EXPECT_EQ(dateTimeToMs(-1.25), (-25569LL - 1) * 86'400'000 + 6 * 3'600'000);
    EXPECT_THROW(dateTimeToMs(std::numeric_limits<double>::quiet_NaN()), WireError);
    EXPECT_THROW(dateTimeToMs(1e12), WireError);
}

// ---- The envelope ----

std::vector<Node> readAll(const QByteArray &bytes)
{
    EndOfInputSource end;
    ByteReader reader(end, bytes);
    std::vector<Node> messages;
    while (true) {
        // Stop at the end, after the separators a reader skips anyway.
        while (reader.hasBuffered() && QByteArray(" \r\n\t},").contains(reader.peek()))
            reader.get();
        if (!reader.hasBuffered())
            return messages;
        messages.push_back(readMessage(reader));
    }
}

TEST(WireEnvelope, ReadsErrorRepliesWithoutTheirClosingBrace)
{
    const auto messages = readAll(
        "{\"error\":{\"name\":\"TDBXError\",\"code\":105,\"message\":\"Remote error: x\"}{\"result\":[0,\"DataSnap\",2]}");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].firstKey(), u"error"_s);
    EXPECT_EQ(messages[0].firstValue().member(u"code")->number, 105);
    EXPECT_EQ(messages[1].firstKey(), u"result"_s);

    // A server that does close the brace: the stray one is skipped before the next message.
    const auto closed = readAll("{\"error\":{\"name\":\"E\",\"code\":5,\"message\":\"m\"}}\r\n {\"result\":[]}");
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[1].firstKey(), u"result"_s);
}

TEST(WireEnvelope, ReadsDataBlocksByCountNotByTokens)
{
    // Raw bytes that look like JSON structure, a padded count, [0] and [0,].
    const QByteArray bytes = QByteArray("{\"data\":[4,") + hex("5D 7D 22 7B") + "]}" + ",{\"data\":[0]}"
        + "{\"result\":[{\"data\":[-3     ,abc]}]}" + "{\"data\":[0,]}";
    const auto messages = readAll(bytes);
    ASSERT_EQ(messages.size(), 4u);
    RawBlock first = rawBlockOf(messages[0].firstValue(), "t");
    EXPECT_EQ(first.count, 4);
    EXPECT_EQ(first.bytes, hex("5D 7D 22 7B"));
    EXPECT_EQ(rawBlockOf(messages[1].firstValue(), "t").count, 0);
    RawBlock padded = rawBlockOf(*messages[2].firstValue().items[0].member(u"data"), "t");
    EXPECT_EQ(padded.count, -3);
    EXPECT_EQ(padded.bytes, "abc");
    EXPECT_TRUE(rawBlockOf(messages[3].firstValue(), "t").bytes.isEmpty());
}

TEST(WireEnvelope, StringsReadLatin1BytesAndEscapes)
{
    const QByteArray bytes = QByteArray("{\"s\":\"a\\\"b\\\\c\\/d") + hex("FC") + "\\u015f\\u015E\\n\\t\\ud83d\\ude97\"}";
    const auto messages = readAll(bytes);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].member(u"s")->string, u"a\"b\\c/düşŞ\n\t🚗"_s);
}

TEST(WireEnvelope, WritesNonAsciiAsEscapes)
{
    MessageWriter w;
    w.string(u"Ağ \"ü\"\\\x01\n🚗"_s);
    EXPECT_EQ(w.bytes(), "\"A\\u011F \\\"\\u00FC\\\"\\\\\\u0001\\n\\uD83D\\uDE97\"");
    EXPECT_EQ(MessageWriter().dataBlock(-984, QByteArray(984, 'x').constData(), 984, true).bytes().left(19),
              "{\"data\":[-984     ,");
}

TEST(WireEnvelope, RefusesWhatDoesNotParse)
{
    const QByteArray cases[] = {
        "{\"data\":[100000000,abc]}",             // block larger than any buffer
        "{\"data\":[5]}",                         // count without bytes
        "{\"data\":[3,ab",                        // cut short
        "{\"result\":[1.5]}",                     // fraction where an integer belongs
        "{\"result\":[tru]}",                     // broken literal
        "{\"result\":[1 2]}",                     // missing comma
        "[\"not an object\"]",                    // not a message
        "{\"s\":\"\\u12G4\"}",                    // bad escape
        "{\"result\":[99999999999999999999999]}", // overflow
        QByteArray("{\"a\":") + QByteArray(100, '[') + QByteArray(100, ']') + "}", // nested too deeply
    };
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        EXPECT_THROW(readAll(bytes), ProtocolError);
    }
}

} // namespace
