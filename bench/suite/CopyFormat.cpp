#include "CopyFormat.h"

#include <fstream>
#include <stdexcept>

namespace morvex::bench {

void appendCopyField(std::string &line, std::string_view utf8)
{
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

void writeSchema(const std::string &path, const std::vector<CopyColumn> &columns)
{
    std::ofstream out(path, std::ios::trunc);
    for (const CopyColumn &c : columns)
        out << c.name << ' ' << c.type << '\n';
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<CopyColumn> readSchema(const std::string &path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<CopyColumn> columns;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        columns.push_back({ line.substr(0, space), line.substr(space + 1) });
    }
    return columns;
}

std::vector<CopyColumn> stockColumns()
{
    const char *text = "text", *integer = "integer", *real = "double precision";
    return {
        { "BARKOD", text },
        { "FINISHKOD", text },
        { "OEM1", text },
        { "OEM2", text },
        { "OEM3", text },
        { "ADI", text },
        { "OEM4", text },
        { "STOK_STOKNO", integer },
        { "URETICIKODU", text },
        { "BARKOD_BARKODNO", integer },
        { "DIGERADI", text },
        { "DPKOD", text },
        { "OEMNO", text },
        { "BIRIM", text },
        { "MARKA", text },
        { "MODEL", text },
        { "ANAGRUP", text },
        { "OZELKOD", text },
        { "KALAN", real },
        { "PKOD", text },
        { "KDV", integer },
        { "ALINANSIPARIS", real },
        { "VERILENSIPARIS", real },
        { "LISTEFIYATI", real },
        { "MALIYET", text },
        { "FIYAT", real },
        { "Y", integer },
        { "K", integer },
        { "INDIRIM", real },
        { "NETFIYAT", real },
        { "KDVDAHIL", real },
        { "DURUM", integer },
    };
}

} // namespace morvex::bench
