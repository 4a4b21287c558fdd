// The table codec moving record sets in process: every text form the wire knows (Latin-1, the
// 0xFF switch to UTF-16, surrogate pairs, texts with no UTF-8 form), nulls, empty texts and
// cells longer than a batch, which go through the more_blob rest.

#include "core/data/RecordSet.h"
#include "core/wire/RowCodec.h"
#include "core/wire/TableCodec.h"
#include "core/wire/WireChoices.h"

#include <QDate>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::wire;

namespace {

// Texts that take each path of the wide-string form.
QStringList textForms()
{
    const QChar lone[] = {QChar(u'a'), QChar(char16_t(0xD800)), QChar(u'b')};
    return {
        u""_s,
        u"FREN BALATASI 1.6"_s,
        u"caf\u00e9 \u00c7\u00d6\u00dc"_s,        // Latin-1 beyond ASCII
        u"\u00ff"_s,                              // 0xFF itself needs the switch
        u"\u00e9t\u00e9 \u00ff!"_s,               // switch after Latin-1 letters
        u"F\u0130LTRE \u015eANZIMAN \u011f\u0131"_s, // Turkish letters at and above U+0100
        u"\u20ac 12,50"_s,
        u"a\U0001F600b"_s,                        // a surrogate pair
        QString(lone, 3),                         // an unpaired surrogate
        QString(40, QChar(u'x')),                 // beyond the tiny header
        QString(70'000, QChar(u'k')),             // beyond one inline field
        QString(40'000, QChar(u'\u015f')),        // past the switch and beyond one inline field
    };
}

TEST(WireRowCodec, TextFromStoredUtf8WritesWhatTheQStringPathWrites)
{
    const qsizetype limits[] = {kMaxInlineBytes, 1024, 5, 0};
    for (const QString &text : textForms()) {
        const QByteArray utf8 = text.toUtf8();
        if (QString::fromUtf8(utf8) != text)
            continue; // no UTF-8 form: the record set keeps such texts as UTF-16
        for (const qsizetype limit : limits) {
            RowWriter expected, actual;
            const QByteArray expectedRest = expected.writeText(text, limit);
            const QByteArray actualRest = actual.writeTextUtf8(std::string_view(utf8.constData(), size_t(utf8.size())), limit);
            EXPECT_EQ(actual.bytes(), expected.bytes()) << text.left(20).toStdString() << " limit " << limit;
            EXPECT_EQ(actualRest, expectedRest) << text.left(20).toStdString() << " limit " << limit;
        }
        const QByteArray wire = encodeWideString(text);
        std::u16string units;
        decodeWideStringInto(wire.constData(), wire.size(), units);
        EXPECT_EQ(QStringView(units.data(), qsizetype(units.size())), text);
    }
}

TEST(WireTableCodec, EveryCellSurvivesEncoderAndDecoderAcrossBatches)
{
    const QStringList texts = textForms();
    RecordSet source;
    source.addField(u"ADI"_s, FieldType::Text);
    source.addField(u"NO"_s, FieldType::Int32);
    source.addField(u"BOY"_s, FieldType::Int64);
    source.addField(u"FIYAT"_s, FieldType::Double);
    source.addField(u"TARIH"_s, FieldType::DateTime);
    source.addField(u"AKTIF"_s, FieldType::Boolean);
    source.addField(u"ICERIK"_s, FieldType::Bytes);
    source.addField(u"NOT"_s, FieldType::Text);
    const int rows = 3 * int(texts.size()) + 50;
    for (int r = 0; r < rows; ++r) {
        const int row = source.appendRow();
        source.setText(row, 0, texts[r % texts.size()]);
        if (r % 4 != 1) {
            source.setInt32(row, 1, r % 3 == 0 ? -r : r * 1000);
            source.setInt64(row, 2, (qint64(r) << 35) * (r % 2 ? -1 : 1));
            source.setReal(row, 3, 12.5 * r - 7);
            source.setDateTime(row, 4, QDateTime(QDate(1890 + r, 1 + r % 12, 1 + r % 28), QTime(r % 24, 59, 58, r % 1000)));
            source.setBoolean(row, 5, r % 2 == 0);
            source.setBytes(row, 6, QByteArray(r * 97 % 5000, char(r)));
        }
        if (r % 3 == 0)
            source.setText(row, 7, texts[(r + 5) % texts.size()]);
    }

    std::map<std::pair<int, int>, QByteArray> rests;
    TableEncoder encoder(source, 2048, [](qsizetype offset) { return inlineCapacity(offset, 4096); });
    std::vector<QByteArray> batches;
    while (!encoder.atEnd()) {
        std::vector<TableEncoder::PendingCell> pending;
        batches.push_back(encoder.nextBatch(pending));
        for (auto &p : pending)
            rests[{p.row, p.column}] = std::move(p.rest);
    }
    ASSERT_GT(batches.size(), 10u);
    ASSERT_FALSE(rests.empty());

    RecordSet target;
    TableDecoder decoder(encoder.columns(), target);
    int fetched = 0;
    for (const QByteArray &b : batches) {
        decoder.decodeBatch(b.constData(), b.size(), [&](int row, int column) {
            ++fetched;
            return rests.at({row, column});
        });
    }
    EXPECT_EQ(fetched, int(rests.size()));
    ASSERT_EQ(target.rowCount(), rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < source.fieldCount(); ++c) {
            ASSERT_EQ(target.isNull(r, c), source.isNull(r, c)) << r << "," << c;
            if (source.field(c).type == FieldType::Bytes)
                EXPECT_EQ(target.bytes(r, c), source.bytes(r, c)) << r << "," << c;
            else
                EXPECT_EQ(target.value(r, c), source.value(r, c)) << r << "," << c;
        }
    }
}

} // namespace
