#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The 100,000 stock rows travel from morvex-server to PostgreSQL in PostgreSQL's COPY text
// format, with a schema file of "name type" lines beside them, so that both hold the same rows
// with the same columns and types.
namespace morvex::bench {

struct CopyColumn
{
    std::string name;
    std::string type; // a PostgreSQL type: text, integer, bigint, double precision, ...
};

// Appends one field: backslash, tab, newline and carriage return escaped.
void appendCopyField(std::string &line, std::string_view utf8);
inline constexpr std::string_view kCopyNull = "\\N";

void writeSchema(const std::string &path, const std::vector<CopyColumn> &columns);
std::vector<CopyColumn> readSchema(const std::string &path);

// The stock list's columns, in the order the server sends them.
std::vector<CopyColumn> stockColumns();

} // namespace morvex::bench
