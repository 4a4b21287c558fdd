#pragma once

#include <QDate>
#include <QString>

namespace morvex {

// The two looks of the program. The winter look is used over the year-end holidays.
enum class Theme { Standard, Winter };

// Winter from 26 to 31 December and from 1 to 5 January, both ends included.
Theme themeForDate(const QDate &day);

// The theme's name as the program's settings know it.
QString themeName(Theme theme);

// The application-wide style sheet of the theme.
QString themeStyleSheet(Theme theme);

} // namespace morvex
