#include "RecordSamples.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace morvex;
using namespace morvex::test;

namespace {

// Every field's value as a variant, by wire name.
struct FieldValues
{
    std::map<std::string, QVariant> values;

    template <class T> void operator()(const char *name, const T &value)
    {
        if constexpr (std::is_same_v<T, QString> || std::is_arithmetic_v<T>)
            values[name] = QVariant::fromValue(value);
        else
            values[name] = QVariant::fromValue(static_cast<int>(value.size()));
    }
};

template <class T> std::map<std::string, QVariant> fieldValues(const T &record)
{
    FieldValues collector;
    record.visitFields(collector);
    return collector.values;
}

template <class T> void expectDefaults(const std::map<std::string, QVariant> &exceptions)
{
    const T record;
    SCOPED_TRACE(std::string(T::TypeName));
    for (const auto &[name, value] : fieldValues(record)) {
        const auto expected = exceptions.find(name);
        if (expected != exceptions.end()) {
            EXPECT_EQ(value, expected->second) << name;
        } else if (value.typeId() == QMetaType::QString) {
            EXPECT_TRUE(value.toString().isEmpty()) << name;
        } else {
            EXPECT_EQ(value.toDouble(), 0.0) << name; // numbers 0, booleans false, arrays empty
        }
    }
}

} // namespace

TEST(TransferRecords, NewRecordsHoldTheirDefaults)
{
    expectDefaults<TSonucBilgisi>({ { "FMusteriTipi", 1 }, { "FVersion", 1 } });
    expectDefaults<TSiparisDipAyrinti>({});
    expectDefaults<TTusSonuclari>({});
    expectDefaults<TMobilStok>({ { "FBirim", QStringLiteral("ADET") }, { "FKDV", 18.0 } });
    expectDefaults<TMobilSepet>({});
    expectDefaults<TMobilCariBilgisi>({});
    expectDefaults<TAcilisEkran>({});
    expectDefaults<TAcilisEkranlariki>({});

    EXPECT_EQ(TMobilStoklar().Count(), 0);
    EXPECT_EQ(TMobilSepetler().Count(), 0);
    EXPECT_EQ(TAcilisEkranlar().Count(), 0);
}

TEST(TransferRecords, SessionRecordHasTwentyFieldsWithTypedAccessors)
{
    TSonucBilgisi session;
    EXPECT_EQ(fieldValues(session).size(), 20u);
    EXPECT_EQ(session.MusteriTipi(), 1);
    EXPECT_EQ(session.Version(), 1);

    session.setCARINO(4711);
    session.setcarikod(QStringLiteral("120.01.İ"));
    session.setVarmi(true);
    EXPECT_EQ(session.CARINO(), 4711);
    EXPECT_EQ(session.carikod(), QStringLiteral("120.01.İ"));
    EXPECT_TRUE(session.Varmi());
}

template <class T> class Kopyala : public ::testing::Test
{
};
using RecordsWithKopyala = ::testing::Types<TSonucBilgisi, TSiparisDipAyrinti, TTusSonuclari, TMobilStok,
    TMobilSepet, TMobilCariBilgisi>;
TYPED_TEST_SUITE(Kopyala, RecordsWithKopyala);

TYPED_TEST(Kopyala, CopiesEveryField)
{
    const TypeParam source = sample<TypeParam>();
    TypeParam target;
    ASSERT_FALSE(target == source);
    target.Kopyala(source);
    EXPECT_TRUE(target == source);
    EXPECT_EQ(fieldValues(target), fieldValues(source));
}

TYPED_TEST(Kopyala, IntoItselfLeavesTheRecordUnchanged)
{
    TypeParam record = sample<TypeParam>();
    const TypeParam before = record;
    record.Kopyala(record);
    EXPECT_TRUE(record == before);
}

TYPED_TEST(Kopyala, CopyAndSourceShareNothing)
{
    TypeParam source = sample<TypeParam>(1);
    const TypeParam original = source;
    TypeParam copy;
    copy.Kopyala(source);

    // Overwrite every field of the copy, then every field of the source: neither change may
    // reach the other record.
    copy.visitFields(DistinctFiller(500));
    EXPECT_TRUE(source == original);
    const TypeParam changedCopy = copy;
    source.visitFields(DistinctFiller(900));
    EXPECT_TRUE(copy == changedCopy);
}

TEST(TransferRecords, KopyalaOfTheSessionRecordKeepsTextIndependent)
{
    TSonucBilgisi source;
    source.setADI(QStringLiteral("bayi"));
    TSonucBilgisi copy;
    copy.Kopyala(source);
    copy.setADI(copy.ADI() + QStringLiteral("ğ"));
    EXPECT_EQ(source.ADI(), QStringLiteral("bayi"));
    EXPECT_EQ(copy.ADI(), QStringLiteral("bayiğ"));
}

TEST(TransferRecords, ListsKeepTheirElementsInOrder)
{
    TAcilisEkranlar list;
    for (int i = 0; i < 3; ++i) {
        TAcilisEkran screen;
        screen.setSiraNo(i + 1);
        screen.setBaslik(QStringLiteral("Duyuru %1").arg(i + 1));
        list.Add(screen);
    }
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0).SiraNo(), 1);
    EXPECT_EQ(list.Items(2).Baslik(), QStringLiteral("Duyuru 3"));
    EXPECT_THROW(list.Items(3), std::out_of_range);
    EXPECT_THROW(list.Items(-1), std::out_of_range);

    const std::unique_ptr<TransferObject> clone = list.clone();
    list.Items(0).setBaslik(QStringLiteral("değişti"));
    EXPECT_EQ(static_cast<const TAcilisEkranlar &>(*clone).Items(0).Baslik(), QStringLiteral("Duyuru 1"));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
