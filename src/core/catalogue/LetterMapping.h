#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace morvex {

// Stock codes and names are stored without Turkish letters, so the stock search box turns each
// typed Turkish letter into its plain Latin form before inserting it: ğ→g, ü→u, ş→s, ö→o,
// ç→c, Ğ→G, Ü→U, Ş→S, İ→I, Ö→O, Ç→C and the dotless ı→I. Every other character passes.
QChar mapSearchLetter(QChar typed);
QString mapSearchLetters(QStringView typed);

// How an upper-case search box holds text: every letter in upper case by the language-neutral
// rules (so "i" becomes "I", not "İ").
QString upperCaseBoxText(QStringView text);

// What the stock search box holds for typed text: the letter mapping, then upper case; a typed
// "ş" ends as "S".
QString stockSearchBoxText(QStringView typed);

} // namespace morvex
