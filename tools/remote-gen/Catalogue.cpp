#include "Catalogue.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <stdexcept>

namespace remotegen {
namespace {

    std::string trim(const std::string &s)
    {
        auto begin = s.find_first_not_of(" \t\r");
        if (begin == std::string::npos)
            return {};
        auto end = s.find_last_not_of(" \t\r");
        return s.substr(begin, end - begin + 1);
    }

    bool isIdentifier(const std::string &s)
    {
        if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_'))
            return false;
        return std::all_of(s.begin(), s.end(),
            [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
    }

    [[noreturn]] void fail(int line, const std::string &what)
    {
        throw std::runtime_error("methods.catalogue:" + std::to_string(line) + ": " + what);
    }

    void parseKind(const std::string &word, Param &param, int line)
    {
        static const std::pair<const char *, Kind> kinds[] = {
            { "text", Kind::Text },
            { "integer", Kind::Integer },
            { "int64", Kind::Int64 },
            { "real", Kind::Real },
            { "date", Kind::Date },
            { "boolean", Kind::Boolean },
            { "table", Kind::Table },
            { "stream", Kind::Stream },
            { "json", Kind::Json },
            { "callback", Kind::Callback },
            { "none", Kind::None },
        };
        for (const auto &[name, kind] : kinds) {
            if (word == name) {
                param.kind = kind;
                return;
            }
        }
        if (word.size() > 1 && word[0] == 'T' && isIdentifier(word)) {
            param.kind = Kind::Object;
            param.className = word;
            return;
        }
        fail(line, "unknown kind '" + word + "'");
    }

    Param parseParam(const std::string &text, int line)
    {
        Param param;
        std::string rest = trim(text);
        if (rest.rfind("out ", 0) == 0) {
            param.out = true;
            rest = trim(rest.substr(4));
        }
        auto colon = rest.find(':');
        if (colon == std::string::npos)
            fail(line, "parameter '" + rest + "' has no kind");
        param.name = trim(rest.substr(0, colon));
        if (!isIdentifier(param.name))
            fail(line, "bad parameter name '" + param.name + "'");
        // Names the generated code uses for its own locals.
        static const std::set<std::string> reserved = { "call", "result", "proxy", "p", "r" };
        if (reserved.count(param.name))
            fail(line, "parameter name '" + param.name + "' is reserved by the generated code");
        parseKind(trim(rest.substr(colon + 1)), param, line);
        switch (param.kind) {
        case Kind::None:
            fail(line, "parameter '" + param.name + "' cannot be of kind none");
        case Kind::Table:
        case Kind::Stream:
        case Kind::Json:
            fail(line, "parameter '" + param.name + "': tables, streams and JSON travel only as results");
        case Kind::Callback:
        case Kind::Object:
            if (param.out)
                fail(line, "parameter '" + param.name + "': only scalar kinds can be output parameters");
            break;
        default:
            break;
        }
        return param;
    }

    Method parseMethod(const std::string &text, int line)
    {
        Method method;
        method.line = line;
        auto open = text.find('(');
        auto close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open)
            fail(line, "expected Name(parameters): result");
        method.name = trim(text.substr(0, open));
        if (!isIdentifier(method.name))
            fail(line, "bad method name '" + method.name + "'");

        std::string params = trim(text.substr(open + 1, close - open - 1));
        std::set<std::string> names;
        if (!params.empty()) {
            std::stringstream in(params);
            std::string piece;
            while (std::getline(in, piece, ';')) {
                Param p = parseParam(piece, line);
                if (!names.insert(p.name).second)
                    fail(line, "parameter '" + p.name + "' declared twice");
                method.params.push_back(std::move(p));
            }
        }

        std::string tail = trim(text.substr(close + 1));
        if (tail.empty() || tail[0] != ':')
            fail(line, "expected ': result' after the parameters");
        method.result.name = "ReturnParameter";
        parseKind(trim(tail.substr(1)), method.result, line);
        if (method.result.kind == Kind::Callback)
            fail(line, "a callback cannot be a result");
        return method;
    }

} // namespace

Catalogue parseCatalogue(const std::string &text)
{
    Catalogue catalogue;
    std::set<std::string> seen;
    std::stringstream in(text);
    std::string raw;
    int line = 0;
    std::string section;
    while (std::getline(in, raw)) {
        ++line;
        std::string s = trim(raw);
        if (s.empty() || s[0] == '#')
            continue;
        if (s.front() == '[') {
            if (s.back() != ']')
                fail(line, "unterminated section");
            section = trim(s.substr(1, s.size() - 2));
            catalogue.sections.push_back(section);
            continue;
        }
        if (section.empty())
            fail(line, "method before the first [section]");
        Method m = parseMethod(s, line);
        m.section = section;
        std::string lower = m.name;
        std::transform(
            lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        // Command texts are matched without regard to case, so names must differ in more than case.
        if (!seen.insert(lower).second)
            fail(line, "method '" + m.name + "' declared twice");
        catalogue.methods.push_back(std::move(m));
    }
    if (catalogue.methods.empty())
        throw std::runtime_error("methods.catalogue: no methods");
    return catalogue;
}

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return "text";
    case Kind::Integer:
        return "integer";
    case Kind::Int64:
        return "int64";
    case Kind::Real:
        return "real";
    case Kind::Date:
        return "date";
    case Kind::Boolean:
        return "boolean";
    case Kind::Table:
        return "table";
    case Kind::Stream:
        return "stream";
    case Kind::Json:
        return "json";
    case Kind::Callback:
        return "callback";
    case Kind::Object:
        return "object";
    case Kind::None:
        return "none";
    }
    return "?";
}

} // namespace remotegen
