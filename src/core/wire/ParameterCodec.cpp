#include "core/wire/ParameterCodec.h"

#include "core/wire/Message.h"
#include "core/wire/WireError.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace morvex::wire {

namespace {

int intOf(const Node &node, const char *what)
{
    const qint64 v = node.asInteger(what);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw ProtocolError(u"%1 out of range"_s.arg(QLatin1StringView(what)));
    return int(v);
}

} // namespace

std::vector<ParamSpec> parseParameters(const Node &parameters)
{
    std::vector<ParamSpec> out;
    const int n = intOf(parameters.item(0, "parameter count"), "parameter count");
    if (n < 0 || qsizetype(parameters.items.size()) != qsizetype(n) + 1)
        throw ProtocolError(u"The parameter list announces %1 parameters but describes %2"_s.arg(n).arg(
            qsizetype(parameters.items.size()) - 1));
    for (int i = 1; i <= n; ++i) {
        const Node &p = parameters.items[size_t(i)];
        ParamSpec spec;
        spec.type = DataType(intOf(p.item(0, "parameter type"), "parameter type"));
        spec.subType = intOf(p.item(1, "parameter subtype"), "parameter subtype");
        spec.direction = Direction(intOf(p.item(2, "parameter direction"), "parameter direction"));
        spec.precision = intOf(p.item(3, "parameter precision"), "parameter precision");
        spec.scale = intOf(p.item(4, "parameter scale"), "parameter scale");
        spec.name = p.item(5, "parameter name").asString("parameter name");
        spec.childPosition = intOf(p.item(6, "parameter child position"), "parameter child position");
        spec.size = intOf(p.item(7, "parameter size"), "parameter size");
        spec.flags = intOf(p.item(8, "parameter flags"), "parameter flags");
        out.push_back(std::move(spec));
    }
    return out;
}

void writeParameters(MessageWriter &w, const std::vector<ParamSpec> &params)
{
    w.raw("{\"parameters\":[").integer(qint64(params.size()));
    for (const ParamSpec &p : params) {
        w.raw(",[")
            .integer(int(p.type))
            .raw(",")
            .integer(p.subType)
            .raw(",")
            .integer(int(p.direction))
            .raw(",")
            .integer(p.precision)
            .raw(",")
            .integer(p.scale)
            .raw(",")
            .string(p.name)
            .raw(",")
            .integer(p.childPosition)
            .raw(",")
            .integer(p.size)
            .raw(",")
            .integer(p.flags)
            .raw("]");
    }
    w.raw("]}");
}

} // namespace morvex::wire
