#pragma once

#include "core/wire/WireTypes.h"
#include "core/wire/WireValue.h"

#include <QStringView>

#include <vector>

namespace morvex {

// The server methods a DataSnapServer offers. Called from every connection's thread at once, so
// implementations must be safe for concurrent use.
class ServerMethodRegistry
{
public:
    virtual ~ServerMethodRegistry() = default;
    // "Class.Method", matched case-insensitively; nullptr when there is no such method.
    virtual const MethodSignature *find(QStringView classDotMethod) const = 0;
    // params holds one value per parameter: inputs decoded by their declared type, out and
    // return positions null. The handler fills out, in/out and return positions. It may throw
    // ServerMethodError (sent with its name and code) or any std::exception ("Exception", 5).
    virtual void invoke(const MethodSignature &method, std::vector<WireValue> &params) const = 0;
};

} // namespace morvex
