#pragma once

#include "core/wire/ServerMethodRegistry.h"

#include <functional>
#include <map>

namespace morvex::test {

// A small registry of server methods for the tests: those of the worked examples plus a few
// that exercise every value kind, large values and failures.
class TestRegistry : public ServerMethodRegistry
{
public:
    using Handler = std::function<void(std::vector<WireValue> &)>;

    TestRegistry();
    const MethodSignature *find(QStringView classDotMethod) const override;
    void invoke(const MethodSignature &method, std::vector<WireValue> &params) const override;

    // Adds or replaces a method. Not for use while a server runs.
    void add(MethodSignature signature, Handler handler);

    static ParamSpec in(const QString &name, DataType type, int subType = 0);
    static ParamSpec out(const QString &name, DataType type, int subType = 0);
    static ParamSpec result(DataType type, int subType = 0);

private:
    std::map<QString, std::pair<MethodSignature, Handler>> m_methods; // key: lower-case name
};

} // namespace morvex::test
