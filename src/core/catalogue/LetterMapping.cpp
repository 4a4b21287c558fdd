#include "core/catalogue/LetterMapping.h"

namespace morvex {

QChar mapSearchLetter(QChar typed)
{
    switch (typed.unicode()) {
    case u'\u011f': return QChar(u'g'); // ğ
    case u'\u00fc': return QChar(u'u'); // ü
    case u'\u015f': return QChar(u's'); // ş
    case u'\u00f6': return QChar(u'o'); // ö
    case u'\u00e7': return QChar(u'c'); // ç
    case u'\u011e': return QChar(u'G'); // Ğ
    case u'\u00dc': return QChar(u'U'); // Ü
    case u'\u015e': return QChar(u'S'); // Ş
    case u'\u0130': return QChar(u'I'); // İ
    case u'\u00d6': return QChar(u'O'); // Ö
    case u'\u00c7': return QChar(u'C'); // Ç
    case u'\u0131': return QChar(u'I'); // ı
    default: return typed;
    }
}

QString mapSearchLetters(QStringView typed)
{
    QString mapped(typed.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < typed.size(); ++i)
        mapped[i] = mapSearchLetter(typed[i]);
    return mapped;
}

QString upperCaseBoxText(QStringView text)
{
    return text.toString().toUpper();
}

QString stockSearchBoxText(QStringView typed)
{
    return upperCaseBoxText(mapSearchLetters(typed));
}

} // namespace morvex
