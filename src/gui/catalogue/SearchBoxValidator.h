#pragma once

#include <QValidator>

namespace morvex {

// Keeps a search box in upper case, and for the stock search box also applies the letter
// mapping, whichever way the text arrives (typed, pasted, dropped). Nothing is ever refused.
class SearchBoxValidator : public QValidator
{
    Q_OBJECT
public:
    enum class Mode { StockSearch, UpperCaseOnly };

    explicit SearchBoxValidator(Mode mode, QObject *parent = nullptr);

    // The text the box holds for `text`.
    QString boxText(const QString &text) const;

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    Mode m_mode;
};

} // namespace morvex
