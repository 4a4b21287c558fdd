#include "server/demo/DemoAssets.h"

#include "server/media/GifWriter.h"
#include "server/media/JpegWriter.h"
#include "server/media/Raster.h"

#include <array>

using namespace Qt::StringLiterals;

namespace morvex::server::demo {

namespace {

constexpr std::array<Rgb, 6> kPalette = {
    Rgb{0, 82, 155}, Rgb{204, 0, 0}, Rgb{0, 128, 64}, Rgb{230, 120, 0}, Rgb{90, 60, 150}, Rgb{40, 40, 40}};

void centredText(Raster &r, int y, const QString &text, int scale, Rgb colour)
{
    int s = scale;
    while (s > 1 && Raster::textWidth(text, s) > r.width() - 20)
        --s;
    r.drawText((r.width() - Raster::textWidth(text, s)) / 2, y, text, s, colour);
}

quint32 crc32(const QByteArray &data)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data)
        crc = table[(crc ^ quint8(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void le16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void le32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

QString xmlEscaped(const QString &s)
{
    return s.toHtmlEscaped();
}

} // namespace

QByteArray partPicture(const QString &partName, int variant)
{
    const Rgb accent = kPalette[std::size_t(variant) % kPalette.size()];
    Raster r(320, 240);
    r.verticalGradient({250, 250, 252}, {205, 212, 224});
    r.fillCircle(160, 105, 62, accent);
    r.fillCircle(160, 105, 38, {235, 238, 242});
    r.fillCircle(160, 105, 14, accent);
    for (int k = 0; k < 6; ++k)
        r.fillRect(100 + k * 22, 175, 12, 12, {120, 125, 135});
    centredText(r, 200, partName, 3, {30, 30, 40});
    r.fillRect(0, 0, 320, 6, accent);
    return encodeJpeg(r, 85);
}

QByteArray screenPicture(const QString &title, const QString &line, int width, int height, int variant)
{
    const Rgb accent = kPalette[std::size_t(variant) % kPalette.size()];
    Raster r(width, height);
    r.verticalGradient(accent, {250, 250, 250});
    r.fillRect(0, height - 60, width, 60, {30, 30, 40});
    r.fillCircle(width - 90, 90, 60, {255, 210, 0});
    r.drawText(width - 130, 80, u"%"_s, 4, {30, 30, 40});
    centredText(r, height / 3, title, 6, {255, 255, 255});
    centredText(r, height - 42, line, 3, {255, 255, 255});
    return encodeJpeg(r, 85);
}

QByteArray bannerGif()
{
    const QString words[] = {u"ORVEX OTOMOTİV"_s, u"YEDEK PARÇADA GÜVEN"_s, u"HER GÜN KAMPANYA"_s, u"ONLINE SİPARİŞ"_s};
    std::vector<Raster> frames;
    for (int i = 0; i < 4; ++i) {
        Raster r(405, 70, {255, 255, 255});
        r.fillRect(0, 0, 405, 70, i % 2 ? Rgb{204, 0, 0} : Rgb{0, 51, 153});
        r.fillRect(0, 62, 405 * (i + 1) / 4, 8, {255, 204, 0});
        centredText(r, 18, words[i], 4, {255, 255, 255});
        frames.push_back(r);
    }
    return encodeAnimatedGif(frames, 150);
}

QByteArray zipArchive(const QList<std::pair<QString, QByteArray>> &entries)
{
    QByteArray out, directory;
    for (const auto &[name, data] : entries) {
        const QByteArray fileName = name.toUtf8();
        const quint32 crc = crc32(data);
        const quint32 offset = quint32(out.size());
        le32(out, 0x04034b50);
        le16(out, 20);
        le16(out, 0x0800);
        le16(out, 0);
        le16(out, 0);
        le16(out, 0x21);
        le32(out, crc);
        le32(out, quint32(data.size()));
        le32(out, quint32(data.size()));
        le16(out, int(fileName.size()));
        le16(out, 0);
        out += fileName + data;

        le32(directory, 0x02014b50);
        le16(directory, 20);
        le16(directory, 20);
        le16(directory, 0x0800);
        le16(directory, 0);
        le16(directory, 0);
        le16(directory, 0x21);
        le32(directory, crc);
        le32(directory, quint32(data.size()));
        le32(directory, quint32(data.size()));
        le16(directory, int(fileName.size()));
        le16(directory, 0);
        le16(directory, 0);
        le16(directory, 0);
        le16(directory, 0);
        le32(directory, 0);
        le32(directory, offset);
        directory += fileName;
    }
    const quint32 directoryOffset = quint32(out.size());
    out += directory;
    le32(out, 0x06054b50);
    le16(out, 0);
    le16(out, 0);
    le16(out, int(entries.size()));
    le16(out, int(entries.size()));
    le32(out, quint32(directory.size()));
    le32(out, directoryOffset);
    le16(out, 0);
    return out;
}

QByteArray presentationPptx(const QString &title, const QStringList &lines)
{
    const QString ns = u"xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                       "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\""_s;
    const QString rel = u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"_s;
    const QString contentTypes =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/ppt/presentation.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml\"/>"
        "<Override PartName=\"/ppt/slideMasters/slideMaster1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.presentationml.slideMaster+xml\"/>"
        "<Override PartName=\"/ppt/slideLayouts/slideLayout1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.presentationml.slideLayout+xml\"/>"
        "<Override PartName=\"/ppt/slides/slide1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.presentationml.slide+xml\"/>"
        "<Override PartName=\"/ppt/theme/theme1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\"/>"
        "</Types>"_s;
    const QString rootRels = u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                             "<Relationship Id=\"rId1\" Type=\""_s + rel + u"officeDocument\" Target=\"ppt/presentation.xml\"/></Relationships>"_s;
    const QString presentation =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><p:presentation "_s + ns +
        u"><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" r:id=\"rId1\"/></p:sldMasterIdLst>"
        "<p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/></p:sldIdLst><p:sldSz cx=\"9144000\" cy=\"6858000\"/>"
        "<p:notesSz cx=\"6858000\" cy=\"9144000\"/></p:presentation>"_s;
    const QString presentationRels =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\""_s + rel + u"slideMaster\" Target=\"slideMasters/slideMaster1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\""_s + rel + u"slide\" Target=\"slides/slide1.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\""_s + rel + u"theme\" Target=\"theme/theme1.xml\"/></Relationships>"_s;
    const QString emptyTree = u"<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/>"
                              "</p:nvGrpSpPr><p:grpSpPr/></p:spTree></p:cSld>"_s;
    const QString master =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><p:sldMaster "_s + ns + u">"_s + emptyTree +
        u"<p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" accent2=\"accent2\" "
        "accent3=\"accent3\" accent4=\"accent4\" accent5=\"accent5\" accent6=\"accent6\" hlink=\"hlink\" "
        "folHlink=\"folHlink\"/><p:sldLayoutIdLst><p:sldLayoutId id=\"2147483649\" r:id=\"rId1\"/>"
        "</p:sldLayoutIdLst></p:sldMaster>"_s;
    const QString masterRels =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\""_s + rel + u"slideLayout\" Target=\"../slideLayouts/slideLayout1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\""_s + rel + u"theme\" Target=\"../theme/theme1.xml\"/></Relationships>"_s;
    const QString layout = u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><p:sldLayout "_s + ns +
                           u">"_s + emptyTree + u"</p:sldLayout>"_s;
    const QString layoutRels =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\""_s + rel + u"slideMaster\" Target=\"../slideMasters/slideMaster1.xml\"/></Relationships>"_s;
    QString paragraphs = u"<a:p><a:r><a:rPr lang=\"tr-TR\" sz=\"3200\" b=\"1\"/><a:t>"_s + xmlEscaped(title) +
                         u"</a:t></a:r></a:p>"_s;
    for (const QString &line : lines)
        paragraphs += u"<a:p><a:r><a:rPr lang=\"tr-TR\" sz=\"2000\"/><a:t>"_s + xmlEscaped(line) + u"</a:t></a:r></a:p>"_s;
    const QString slide =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><p:sld "_s + ns +
        u"><p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
        "<p:grpSpPr/><p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Metin\"/><p:cNvSpPr txBox=\"1\"/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"457200\" y=\"457200\"/><a:ext cx=\"8229600\" cy=\"5943600\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr><p:txBody><a:bodyPr/><a:lstStyle/>"_s +
        paragraphs + u"</p:txBody></p:sp></p:spTree></p:cSld></p:sld>"_s;
    const QString slideRels =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\""_s + rel + u"slideLayout\" Target=\"../slideLayouts/slideLayout1.xml\"/></Relationships>"_s;
    QString colours;
    const char16_t *names[] = {u"dk1", u"lt1", u"dk2", u"lt2", u"accent1", u"accent2", u"accent3", u"accent4",
                               u"accent5", u"accent6", u"hlink", u"folHlink"};
    const char16_t *values[] = {u"000000", u"FFFFFF", u"1F3864", u"E7E6E6", u"00529B", u"CC0000",
                                u"008040", u"E67800", u"5A3C96", u"282828", u"0563C1", u"954F72"};
    for (int i = 0; i < 12; ++i)
        colours += u"<a:%1><a:srgbClr val=\"%2\"/></a:%1>"_s.arg(QString::fromUtf16(names[i]), QString::fromUtf16(values[i]));
    QString fillStyles;
    for (int i = 0; i < 3; ++i)
        fillStyles += u"<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>"_s;
    QString lineStyles;
    for (int i = 0; i < 3; ++i)
        lineStyles += u"<a:ln w=\"9525\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln>"_s;
    QString effects;
    for (int i = 0; i < 3; ++i)
        effects += u"<a:effectStyle><a:effectLst/></a:effectStyle>"_s;
    const QString theme =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" name=\"Orvex\"><a:themeElements>"
        "<a:clrScheme name=\"Orvex\">"_s + colours +
        u"</a:clrScheme><a:fontScheme name=\"Orvex\"><a:majorFont><a:latin typeface=\"Arial\"/><a:ea typeface=\"\"/>"
        "<a:cs typeface=\"\"/></a:majorFont><a:minorFont><a:latin typeface=\"Arial\"/><a:ea typeface=\"\"/>"
        "<a:cs typeface=\"\"/></a:minorFont></a:fontScheme><a:fmtScheme name=\"Orvex\"><a:fillStyleLst>"_s +
        fillStyles + u"</a:fillStyleLst><a:lnStyleLst>"_s + lineStyles + u"</a:lnStyleLst><a:effectStyleLst>"_s +
        effects + u"</a:effectStyleLst><a:bgFillStyleLst>"_s + fillStyles +
        u"</a:bgFillStyleLst></a:fmtScheme></a:themeElements></a:theme>"_s;
    return zipArchive({{u"[Content_Types].xml"_s, contentTypes.toUtf8()},
                       {u"_rels/.rels"_s, rootRels.toUtf8()},
                       {u"ppt/presentation.xml"_s, presentation.toUtf8()},
                       {u"ppt/_rels/presentation.xml.rels"_s, presentationRels.toUtf8()},
                       {u"ppt/slideMasters/slideMaster1.xml"_s, master.toUtf8()},
                       {u"ppt/slideMasters/_rels/slideMaster1.xml.rels"_s, masterRels.toUtf8()},
                       {u"ppt/slideLayouts/slideLayout1.xml"_s, layout.toUtf8()},
                       {u"ppt/slideLayouts/_rels/slideLayout1.xml.rels"_s, layoutRels.toUtf8()},
                       {u"ppt/slides/slide1.xml"_s, slide.toUtf8()},
                       {u"ppt/slides/_rels/slide1.xml.rels"_s, slideRels.toUtf8()},
                       {u"ppt/theme/theme1.xml"_s, theme.toUtf8()}});
}

QByteArray spreadsheetXml(const QStringList &header, const QList<QStringList> &rows)
{
    QString xml = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n"
                  "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                  "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n<Worksheet ss:Name=\"Fiyat Listesi\">"
                  "<Table>\n"_s;
    auto row = [](const QStringList &cells) -> QString {
        QString r = u"<Row>"_s;
        for (const QString &c : cells) {
            bool number = false;
            c.toDouble(&number);
            r += u"<Cell><Data ss:Type=\"%1\">%2</Data></Cell>"_s.arg(number ? u"Number"_s : u"String"_s, c.toHtmlEscaped());
        }
        return r + u"</Row>\n"_s;
    };
    xml += row(header);
    for (const QStringList &cells : rows)
        xml += row(cells);
    xml += u"</Table></Worksheet>\n</Workbook>\n"_s;
    return xml.toUtf8();
}

QByteArray rtfDocument(const QString &title, const QStringList &paragraphs)
{
    auto escaped = [](const QString &text) -> QByteArray {
        QByteArray out;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                out += '\\';
                out += char(u);
            } else if (u < 0x80) {
                out += char(u);
            } else {
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
            }
        }
        return out;
    };
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1254\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs22\n{\\b\\fs32 " + escaped(title) +
                     "\\par}\n";
    for (const QString &p : paragraphs)
        rtf += escaped(p) + "\\par\n";
    rtf += "}\n";
    return rtf;
}

} // namespace morvex::server::demo
