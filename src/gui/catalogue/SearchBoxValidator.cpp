#include "gui/catalogue/SearchBoxValidator.h"

#include "core/catalogue/LetterMapping.h"

namespace morvex {

SearchBoxValidator::SearchBoxValidator(Mode mode, QObject *parent)
    : QValidator(parent)
    , m_mode(mode)
{
}

QString SearchBoxValidator::boxText(const QString &text) const
{
    return m_mode == Mode::StockSearch ? stockSearchBoxText(text) : upperCaseBoxText(text);
}

QValidator::State SearchBoxValidator::validate(QString &input, int &pos) const
{
    // Upper case may lengthen a letter (ß becomes SS); the cursor stays behind the same input.
    const QString before = input.left(pos);
    input = boxText(input);
    pos = static_cast<int>(qMin<qsizetype>(boxText(before).size(), input.size()));
    return Acceptable;
}

void SearchBoxValidator::fixup(QString &input) const
{
    input = boxText(input);
}

} // namespace morvex
