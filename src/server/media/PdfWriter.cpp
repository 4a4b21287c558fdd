#include "server/media/PdfWriter.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

constexpr int kPageWidth = 595;
constexpr int kPageHeight = 842;
constexpr int kMargin = 50;
constexpr int kLeading = 12;
constexpr int kTitleGap = 28;

char toWindows1254(char16_t c)
{
    if (c < 0x80)
        return char(c);
    switch (c) {
    case u'\u00C7': return char(0xC7);
    case u'\u00E7': return char(0xE7);
    case u'\u00D6': return char(0xD6);
    case u'\u00F6': return char(0xF6);
    case u'\u00DC': return char(0xDC);
    case u'\u00FC': return char(0xFC);
    case u'\u011E': return char(0xD0);
    case u'\u011F': return char(0xF0);
    case u'\u0130': return char(0xDD);
    case u'\u0131': return char(0xFD);
    case u'\u015E': return char(0xDE);
    case u'\u015F': return char(0xFE);
    case u'\u20AC': return char(0x80);
    case u'\u00E2': return char(0xE2);
    case u'\u00C2': return char(0xC2);
    default: return '?';
    }
}

QByteArray pdfString(const QString &text)
{
    QByteArray out("(");
    for (QChar qc : text) {
        const char c = toWindows1254(qc.unicode());
        const auto u = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            out.append('\\');
            out.append(c);
        } else if (u < 0x20 || u >= 0x80) {
            out.append('\\');
            out.append(QByteArray::number(u, 8).rightJustified(3, '0'));
        } else {
            out.append(c);
        }
    }
    out.append(')');
    return out;
}

// Text strings outside page content (the document title) are UTF-16BE with a byte-order mark.
QByteArray pdfTextString(const QString &text)
{
    QByteArray out("<FEFF");
    for (QChar qc : text)
        out += QByteArray::number(qc.unicode(), 16).rightJustified(4, '0').toUpper();
    out += '>';
    return out;
}

const QByteArray kEncoding = "<< /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences "
                             "[208 /Gbreve 221 /Idotaccent /Scedilla 240 /gbreve 253 /dotlessi /scedilla] >>";

} // namespace

QByteArray writeTextPdf(const QString &title, const QStringList &lines)
{
    const int firstPageLines = (kPageHeight - 2 * kMargin - kTitleGap) / kLeading;
    const int otherPageLines = (kPageHeight - 2 * kMargin) / kLeading;
    std::vector<QStringList> pages(1);
    for (const QString &line : lines) {
        const int capacity = pages.size() == 1 ? firstPageLines : otherPageLines;
        if (pages.back().size() >= capacity)
            pages.emplace_back();
        pages.back().append(line);
    }

    // Objects: 1 catalogue, 2 page tree, 3 body font, 4 title font, 5 info, then a page and its
    // content stream per page.
    const int pageCount = int(pages.size());
    std::vector<QByteArray> objects(std::size_t(5 + 2 * pageCount));
    QByteArray kids;
    for (int p = 0; p < pageCount; ++p)
        kids += QByteArray::number(6 + 2 * p) + " 0 R ";
    objects[0] = "<< /Type /Catalog /Pages 2 0 R >>";
    objects[1] = "<< /Type /Pages /Kids [" + kids.trimmed() + "] /Count " + QByteArray::number(pageCount) + " >>";
    objects[2] = "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding " + kEncoding + " >>";
    objects[3] = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding " + kEncoding + " >>";
    objects[4] = "<< /Title " + pdfTextString(title) + " /Producer (morvex-server) >>";

    for (int p = 0; p < pageCount; ++p) {
        QByteArray content = "BT\n";
        int top = kPageHeight - kMargin;
        if (p == 0) {
            content += "/F2 14 Tf\n" + QByteArray::number(kMargin) + ' ' + QByteArray::number(top - 14) + " Td\n" +
                       pdfString(title) + " Tj\n";
            content += "0 " + QByteArray::number(-kTitleGap) + " Td\n";
        } else {
            content += QByteArray::number(kMargin) + ' ' + QByteArray::number(top - 9) + " Td\n";
        }
        content += "/F1 9 Tf\n" + QByteArray::number(kLeading) + " TL\n";
        for (const QString &line : pages[std::size_t(p)])
            content += pdfString(line) + " Tj T*\n";
        content += "ET\n";
        objects[std::size_t(5 + 2 * p)] =
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(kPageWidth) + ' ' +
            QByteArray::number(kPageHeight) + "] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " +
            QByteArray::number(7 + 2 * p) + " 0 R >>";
        objects[std::size_t(6 + 2 * p)] =
            "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream";
    }

    QByteArray out("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    std::vector<qsizetype> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += QByteArray::number(qulonglong(i + 1)) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(qulonglong(objects.size() + 1)) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(qulonglong(objects.size() + 1)) +
           " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

} // namespace morvex::server
