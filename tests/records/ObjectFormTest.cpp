#include "RecordSamples.h"

#include "core/records/ObjectForm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

using namespace morvex;
using namespace morvex::test;

TEST(ObjectForm, SessionRecordTextIsCompactAndInWireOrder)
{
    TSonucBilgisi session;
    session.setBILGISAYARID(QStringLiteral("WD-WCC4N1234567"));
    session.setSaticiMail(QStringLiteral("satis/ankara@bayi.com.tr"));
    session.setSirano(12);
    session.setCariAdi(QStringLiteral("ÖZ OTO YEDEK PARÇA"));
    session.setSIFRE(QStringLiteral("gizli\"1\\"));
    session.setCARINO(-7);
    session.setAKTIF(1);
    session.setcarikod(QStringLiteral("120.01.003"));
    session.setVarmi(true);
    session.setDisip(QStringLiteral("10.0.0.5"));
    session.setMusteriTipi(3);

    const QByteArray expected
        = R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":{)"
          R"("FBILGISAYARID":"WD-WCC4N1234567","FSaticiMail":"satis\/ankara@bayi.com.tr","FSirano":12,)"
          R"("FCariAdi":"\u00D6Z OTO YEDEK PAR\u00C7A","FSIFRE":"gizli\"1\\","FSaticiNo":0,"FCARINO":-7,)"
          R"("FAKTIF":1,"FKullanicimail":"","FADI":"","FSaticiTelefon":"","Fcarikod":"120.01.003",)"
          R"("FVarmi":true,"FSaticiAdi":"","FBilgiSayarAdi":"","FDisip":"10.0.0.5","FIcip":"",)"
          R"("FBilgisayarKullanici":"","FMusteriTipi":3,"FVersion":1}})";
    EXPECT_EQ(toObjectForm(session), expected);
}

TEST(ObjectForm, NestedObjectsAreNumberedInWriteOrder)
{
    TAcilisEkranlariki screens;
    screens.setEkranlar({ TAcilisEkran(), TAcilisEkran() });
    const QByteArray text = toObjectForm(screens);
    EXPECT_EQ(text,
        R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[)"
        R"({"type":"mobilstokunit.TAcilisEkran","id":2,"fields":{"FSiraNo":0,"FResim":"","FBaslik":"","FArama":""}},)"
        R"({"type":"mobilstokunit.TAcilisEkran","id":3,"fields":{"FSiraNo":0,"FResim":"","FBaslik":"","FArama":""}}]}})");

    const QByteArray list = toObjectForm(sampleList<TMobilSepetler>(3));
    const QJsonObject fields = QJsonDocument::fromJson(list).object().value(u"fields").toObject();
    const QJsonArray items = fields.value(u"FItems").toArray();
    ASSERT_EQ(items.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(items.at(i).toObject().value(u"id").toInt(), i + 2);
    EXPECT_EQ(fields.value(u"FCount").toInt(), 3);
}

template <class T> class RoundTrip : public ::testing::Test
{
};
using RecordClasses = ::testing::Types<TSonucBilgisi, TSiparisDipAyrinti, TTusSonuclari, TMobilStok,
    TMobilSepet, TMobilCariBilgisi, TAcilisEkran, TAcilisEkranlariki>;
TYPED_TEST_SUITE(RoundTrip, RecordClasses);

TYPED_TEST(RoundTrip, EveryFieldSurvives)
{
    for (const TypeParam &original : { TypeParam(), sample<TypeParam>() }) {
        const QByteArray text = toObjectForm(original);
        const std::unique_ptr<TypeParam> back = objectFromFormAs<TypeParam>(text);
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(*back == original) << text.constData();
        EXPECT_EQ(toObjectForm(*back), text);
    }
}

template <class T> class ListRoundTrip : public ::testing::Test
{
};
using ListClasses = ::testing::Types<TMobilStoklar, TMobilSepetler, TAcilisEkranlar>;
TYPED_TEST_SUITE(ListRoundTrip, ListClasses);

TYPED_TEST(ListRoundTrip, ElementsSurviveInOrder)
{
    for (int count : { 0, 1, 5 }) {
        const TypeParam original = sampleList<TypeParam>(count);
        const std::unique_ptr<TypeParam> back = objectFromFormAs<TypeParam>(toObjectForm(original));
        ASSERT_NE(back, nullptr);
        ASSERT_EQ(back->Count(), count);
        EXPECT_TRUE(*back == original);
    }
}

TEST(ObjectForm, AnyClassComesBackAsItsOwnClass)
{
    const std::unique_ptr<TransferObject> object = objectFromForm(toObjectForm(sample<TMobilCariBilgisi>()));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->qualifiedTypeName(), QLatin1String("mobilstokunit.TMobilCariBilgisi"));
    EXPECT_NE(dynamic_cast<TMobilCariBilgisi *>(object.get()), nullptr);
}

TEST(ObjectForm, NullTextIsNoObject)
{
    EXPECT_EQ(objectFromForm("null"), nullptr);
    EXPECT_EQ(objectFromForm(" null\r\n"), nullptr);
    EXPECT_EQ(objectFromFormAs<TSonucBilgisi>("null"), nullptr);
    EXPECT_EQ(toObjectForm(static_cast<const TransferObject *>(nullptr)), "null");
}

TEST(ObjectForm, OddAndTurkishTextSurvivesAsPlainAscii)
{
    const QString odd
        = QStringLiteral("İıŞşĞğÜüÖöÇç \"tırnak\" ters\\bölü / sekme\t satır\n\r geri\b besleme\f")
        + QChar(0x01) + QChar(0x1F) + QChar(0x7F) + QStringLiteral(" € 😀 𝄞 ") + QChar(0x00)
        + QStringLiteral("son");
    TMobilCariBilgisi record;
    record.setCARIADI(odd);
    record.setADRES1(QStringLiteral("\\u0041 is not an escape"));
    const QByteArray text = toObjectForm(record);

    for (char byte : text)
        ASSERT_TRUE(static_cast<unsigned char>(byte) >= 0x20 && static_cast<unsigned char>(byte) < 0x7F)
            << text.constData();
    EXPECT_TRUE(text.contains(R"(\u0130\u0131\u015E\u015F\u011E\u011F\u00DC\u00FC\u00D6\u00F6\u00C7\u00E7)"));
    EXPECT_TRUE(text.contains(R"(\"t\u0131rnak\" ters\\b\u00F6l\u00FC \/ sekme\t)"));
    EXPECT_TRUE(text.contains(R"(\uD83D\uDE00)")); // a surrogate pair as two escapes
    EXPECT_TRUE(text.contains(R"(\u0001\u001F\u007F)"));
    EXPECT_TRUE(text.contains(R"(\u0000son)"));

    const auto back = objectFromFormAs<TMobilCariBilgisi>(text);
    EXPECT_EQ(back->CARIADI(), odd);
    EXPECT_EQ(back->ADRES1(), record.ADRES1());
}

TEST(ObjectForm, NumbersRoundTripExactly)
{
    const double reals[]
        = { 0.1, 1.0 / 3.0, -2.5e-8, 123456789.125, 9007199254740993.0, 1e21, DBL_MAX, -DBL_MAX, DBL_MIN,
              std::numeric_limits<double>::denorm_min(), 45000.75 }; // a date: 15 March 2023, 18:00
    for (double value : reals) {
        TMobilSepet line;
        line.setTUTAR(value);
        line.setTARIH(value);
        line.setSIRANO(INT_MIN);
        line.setCARINO(INT_MAX);
        const QByteArray text = toObjectForm(line);
        const auto back = objectFromFormAs<TMobilSepet>(text);
        EXPECT_EQ(std::bit_cast<quint64>(back->TUTAR()), std::bit_cast<quint64>(value)) << text.constData();
        EXPECT_EQ(std::bit_cast<quint64>(back->TARIH()), std::bit_cast<quint64>(value));
        EXPECT_EQ(back->SIRANO(), INT_MIN);
        EXPECT_EQ(back->CARINO(), INT_MAX);
    }

    TMobilSepet negativeZero; // Qt's JSON reader gives -0 back as 0, which compares equal
    negativeZero.setTUTAR(-0.0);
    EXPECT_EQ(objectFromFormAs<TMobilSepet>(toObjectForm(negativeZero))->TUTAR(), 0.0);

    TMobilStok item; // whole reals and integers carry no fraction
    item.setStokNo(42);
    const QByteArray text = toObjectForm(item);
    EXPECT_TRUE(text.contains(R"("FStokNo":42,)"));
    EXPECT_TRUE(text.contains(R"("FKDV":18,)"));
    EXPECT_TRUE(text.contains(R"("FFiyat":0})"));
}

TEST(ObjectForm, NonFiniteRealsCannotBeWritten)
{
    for (double value : { std::nan(""), HUGE_VAL, -HUGE_VAL }) {
        TMobilStok item;
        item.setIsk3(value);
        try {
            toObjectForm(item);
            FAIL() << "written";
        } catch (const ObjectFormError &error) {
            EXPECT_NE(std::string(error.what()).find("mobilstokunit.TMobilStok, field \"FIsk3\""),
                std::string::npos)
                << error.what();
        }
    }
}

// What another writer of the object form may reasonably send: spacing, member order, raw UTF-8,
// lower-case escapes, no "id", members the class does not declare, whole numbers written with a
// fraction, a list with spare capacity or without "FCount", and a repeated object by reference.
TEST(ObjectForm, ReadsOtherWritersVariants)
{
    const auto screen = objectFromFormAs<TAcilisEkran>(
        "  {\n \"fields\" : { \"FArama\":\"fren balatas\\u0131\", \"FBaslik\":\"Kampanya \xC5\x9F\\u015f\", "
        "\"FResim\":\"FFD8\", \"FSiraNo\": 2.0, \"FYeni\": 1 },\r\n \"type\" : "
        "\"mobilstokunit.TAcilisEkran\" }\t");
    EXPECT_EQ(screen->SiraNo(), 2);
    EXPECT_EQ(screen->Arama(), QStringLiteral("fren balatası"));
    EXPECT_EQ(screen->Baslik(), QStringLiteral("Kampanya şş"));
    EXPECT_EQ(screen->Resim(), QStringLiteral("FFD8"));

    const QByteArray element
        = R"({"type":"mobilstokunit.TAcilisEkran","id":2,"fields":{"FSiraNo":7,"FResim":"","FBaslik":"a","FArama":""}})";
    const QByteArray withSpareCapacity
        = R"({"type":"mobilstokunit.TAcilisEkranlar","id":1,"fields":{"FOwnsObjects":true,"FItems":[)"
        + element
        + R"(,{"type":"mobilstokunit.TAcilisEkran","ref":2},null,null],"FCount":2,"FArrayManager":{}}})";
    const auto list = objectFromFormAs<TAcilisEkranlar>(withSpareCapacity);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Items(0).SiraNo(), 7);
    EXPECT_TRUE(list->Items(1) == list->Items(0));

    const QByteArray withoutCount
        = R"({"type":"mobilstokunit.TAcilisEkranlar","fields":{"FItems":[)" + element + "]}}";
    const auto noCount = objectFromFormAs<TAcilisEkranlar>(withoutCount);
    EXPECT_EQ(noCount->Count(), 1);

    const auto item
        = objectFromFormAs<TMobilStok>(toObjectForm(TMobilStok()).replace("\"FKDV\":18", "\"FKDV\":18.0"));
    EXPECT_EQ(item->KDV(), 18.0);
}
