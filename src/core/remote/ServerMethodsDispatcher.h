#pragma once

#include "core/remote/MethodCatalogue.h"
#include "core/wire/ServerMethodRegistry.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace morvex {

class TServerMethods1;

// The server's method registry built from the catalogue: answers prepare with each method's
// signature and hands every call to a TServerMethods1.
class ServerMethodsDispatcher : public ServerMethodRegistry
{
public:
    using Factory = std::function<std::unique_ptr<TServerMethods1>()>;

    // One instance serves every call from every connection at once; it must be safe for that.
    explicit ServerMethodsDispatcher(TServerMethods1 &methods);
    // A fresh instance per call, so an implementation may keep per-call state.
    explicit ServerMethodsDispatcher(Factory factory);
    ~ServerMethodsDispatcher() override;

    const MethodSignature *find(QStringView classDotMethod) const override;
    void invoke(const MethodSignature &method, std::vector<WireValue> &params) const override;

private:
    ServerMethodsDispatcher();

    std::vector<MethodSignature> m_signatures; // index == MethodId
    QHash<QString, int> m_byLowerName; // "tservermethods1.sepetver" -> index
    TServerMethods1 *m_shared = nullptr;
    Factory m_factory;
};

} // namespace morvex
