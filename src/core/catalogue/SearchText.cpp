#include "core/catalogue/SearchText.h"

namespace morvex::searchtext {

namespace {

bool isBlankOrControl(QChar c)
{
    return c == u' ' || c.category() == QChar::Other_Control;
}

} // namespace

QString trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

bool acceptsStockSearch(QStringView text)
{
    return trimmed(text).size() >= kStockMinimumLength;
}

bool acceptsGenuinePartSearch(QStringView text)
{
    return !trimmed(text).isEmpty();
}

} // namespace morvex::searchtext
