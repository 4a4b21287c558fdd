#include "core/catalogue/SearchText.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

struct TextCase
{
    QString text;
    QString trimmed;
    bool stock;   // starts a stock search
    bool genuine; // starts a genuine-part search
};

TEST(CatalogueSearchText, TrimsBlanksAndControlsAndChecksTheLength)
{
    const TextCase cases[] = {
        { u""_s, u""_s, false, false },
        { u"   "_s, u""_s, false, false },
        { u"\t\r\n \u007f\u0085"_s, u""_s, false, false },
        { u"A"_s, u"A"_s, false, true },
        { u"AB"_s, u"AB"_s, false, true },
        { u"  AB  "_s, u"AB"_s, false, true },      // two letters with blanks around: refused
        { u" A B "_s, u"A B"_s, true, true },       // trimmed length 3: accepted
        { u"\tA\u0001B\n"_s, u"A\u0001B"_s, true, true }, // controls inside count
        { u"ABC"_s, u"ABC"_s, true, true },
        { u"\u00a0AB\u00a0"_s, u"\u00a0AB\u00a0"_s, true, true }, // a no-break space is not a blank here
        { u"\u015eI\u015e"_s, u"\u015eI\u015e"_s, true, true },
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(searchtext::trimmed(c.text), c.trimmed);
        EXPECT_EQ(searchtext::acceptsStockSearch(c.text), c.stock);
        EXPECT_EQ(searchtext::acceptsGenuinePartSearch(c.text), c.genuine);
    }
}

} // namespace
} // namespace morvex
