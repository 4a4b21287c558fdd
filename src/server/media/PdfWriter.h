#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvex::server {

// A plain PDF 1.4 document on A4 pages: a bold title on the first page, then the lines in a
// fixed-pitch font so that columns line up, as many pages as the lines need. Turkish letters
// use the standard fonts' own glyphs (a Windows-1254 encoding), so no font is embedded.
QByteArray writeTextPdf(const QString &title, const QStringList &lines);

} // namespace morvex::server
