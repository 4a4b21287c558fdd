#pragma once

#include <QString>
#include <QStringView>

namespace morvex {

// The checks on a search text before anything is sent. The text that is sent stays exactly as
// typed; only the check looks at the trimmed form.
namespace searchtext {

inline constexpr qsizetype kStockMinimumLength = 3;

// Leading and trailing blanks and control characters removed (tabs, line breaks, DEL, the C1
// controls); blanks and controls inside the text stay.
QString trimmed(QStringView text);

// The stock search needs at least three characters once trimmed.
bool acceptsStockSearch(QStringView text);

// The genuine-part search has no minimum length; only a text that trims to nothing is refused.
bool acceptsGenuinePartSearch(QStringView text);

} // namespace searchtext
} // namespace morvex
