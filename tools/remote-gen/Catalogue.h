#pragma once

// The method catalogue as the generator reads it. Plain standard C++ so that the tool builds
// before any Qt component does.

#include <optional>
#include <string>
#include <vector>

namespace remotegen {

enum class Kind { Text, Integer, Int64, Real, Date, Boolean, Table, Stream, Json, Callback, Object, None };

struct Param
{
    std::string name;
    Kind kind = Kind::None;
    std::string className; // for Kind::Object: the transfer class, "TObject" for any object
    bool out = false;
};

struct Method
{
    std::string name;
    std::string section;
    std::vector<Param> params;
    Param result; // kind None for a procedure; name "ReturnParameter"
    int line = 0;
};

struct Catalogue
{
    std::vector<std::string> sections; // in order of appearance
    std::vector<Method> methods;
};

// Parses the catalogue text; on the first malformed line throws std::runtime_error whose
// message names the line.
Catalogue parseCatalogue(const std::string &text);

const char *kindName(Kind kind);

} // namespace remotegen
