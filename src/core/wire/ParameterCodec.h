#pragma once

#include "core/wire/WireTypes.h"

#include <vector>

namespace morvex::wire {

struct Node;
class MessageWriter;

// The value of a "parameters" member: [n, P0, P1, ...], each
// [type, subType, direction, precision, scale, "name", childPosition, size, flags].
std::vector<ParamSpec> parseParameters(const Node &parameters);
// Writes {"parameters":[...]}.
void writeParameters(MessageWriter &writer, const std::vector<ParamSpec> &params);

} // namespace morvex::wire
