#include "core/catalogue/LetterMapping.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

struct MappingCase
{
    char16_t typed;
    char16_t mapped;
};

void PrintTo(const MappingCase &c, std::ostream *os)
{
    *os << "U+" << std::hex << int(c.typed) << " -> " << char(c.mapped);
}

class CatalogueLetterMapping : public ::testing::TestWithParam<MappingCase>
{
};

TEST_P(CatalogueLetterMapping, TurkishLetterBecomesItsLatinForm)
{
    EXPECT_EQ(mapSearchLetter(QChar(GetParam().typed)), QChar(GetParam().mapped));
}

INSTANTIATE_TEST_SUITE_P(EveryMappedLetter, CatalogueLetterMapping,
                         ::testing::Values(MappingCase{ u'\u011f', u'g' }, MappingCase{ u'\u00fc', u'u' },
                                           MappingCase{ u'\u015f', u's' }, MappingCase{ u'\u00f6', u'o' },
                                           MappingCase{ u'\u00e7', u'c' }, MappingCase{ u'\u011e', u'G' },
                                           MappingCase{ u'\u00dc', u'U' }, MappingCase{ u'\u015e', u'S' },
                                           MappingCase{ u'\u0130', u'I' }, MappingCase{ u'\u00d6', u'O' },
                                           MappingCase{ u'\u00c7', u'C' }, MappingCase{ u'\u0131', u'I' }));

TEST(CatalogueLetterMapping, OtherCharactersPassUnchanged)
{
    // Letters outside the table, including other accented ones, digits, punctuation, blanks.
    const QString others = u"aAiIzZ09 -./*\u00e2\u00ee\u00fb\u00e9\u00df\t\u20ac"_s;
    for (QChar c : others)
        EXPECT_EQ(mapSearchLetter(c), c) << int(c.unicode());
    EXPECT_EQ(mapSearchLetters(others), others);
}

TEST(CatalogueLetterMapping, BoxHoldsTheMappedTextInUpperCase)
{
    EXPECT_EQ(stockSearchBoxText(u"\u015f\u00f6\u011f\u00fc\u00e7"), u"SOGUC"_s);
    EXPECT_EQ(stockSearchBoxText(u"\u0131\u0130i"), u"III"_s);           // ı, İ and a plain i
    EXPECT_EQ(stockSearchBoxText(u"fren balatas\u0131 "), u"FREN BALATASI "_s);
    EXPECT_EQ(stockSearchBoxText(u"\u00e2"), u"\u00c2"_s);              // not mapped, only upper-cased
}

TEST(CatalogueLetterMapping, GenuinePartBoxOnlyUpperCases)
{
    EXPECT_EQ(upperCaseBoxText(u"\u015fi\u0131"), u"\u015eII"_s);
}

} // namespace
} // namespace morvex
