#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvex::server::demo {

// Pictures and files of the demo database, drawn and written here so that nothing is copied
// from elsewhere.
QByteArray partPicture(const QString &partName, int variant);         // JPEG 320 x 240
QByteArray screenPicture(const QString &title, const QString &line, int width, int height, int variant); // JPEG
QByteArray bannerGif();                                                // animated GIF 405 x 70
// A ZIP archive of stored (uncompressed) entries, enough for small office documents.
QByteArray zipArchive(const QList<std::pair<QString, QByteArray>> &entries);
QByteArray presentationPptx(const QString &title, const QStringList &lines);
QByteArray spreadsheetXml(const QStringList &header, const QList<QStringList> &rows); // Excel 2003 XML (.xls)
QByteArray rtfDocument(const QString &title, const QStringList &paragraphs);           // opens as .doc

} // namespace morvex::server::demo
