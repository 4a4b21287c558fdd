#include "core/remote/ServerMethodsDispatcher.h"

#include "core/remote/ServerCall.h"
#include "core/remote/TServerMethods1.h"
#include "core/wire/WireError.h"

using namespace Qt::StringLiterals;

namespace morvex {

ServerMethodsDispatcher::ServerMethodsDispatcher()
{
    const auto catalogue = methodCatalogue();
    m_signatures.reserve(catalogue.size());
    for (const RemoteMethod &method : catalogue) {
        m_byLowerName.insert(method.commandText().toLower(), static_cast<int>(m_signatures.size()));
        m_signatures.push_back(methodSignature(method));
    }
}

ServerMethodsDispatcher::ServerMethodsDispatcher(TServerMethods1 &methods)
    : ServerMethodsDispatcher()
{
    m_shared = &methods;
}

ServerMethodsDispatcher::ServerMethodsDispatcher(Factory factory)
    : ServerMethodsDispatcher()
{
    m_factory = std::move(factory);
}

ServerMethodsDispatcher::~ServerMethodsDispatcher() = default;

const MethodSignature *ServerMethodsDispatcher::find(QStringView classDotMethod) const
{
    // Method names are ASCII, so plain lower-casing is the DataSnap case-insensitive match.
    const auto it = m_byLowerName.constFind(classDotMethod.toString().toLower());
    return it == m_byLowerName.constEnd() ? nullptr : &m_signatures[static_cast<std::size_t>(*it)];
}

void ServerMethodsDispatcher::invoke(const MethodSignature &method, std::vector<WireValue> &params) const
{
    const MethodSignature *found = find(method.name);
    if (!found) {
        throw ServerMethodError(u"TDBXError"_s, wire::kMethodNotFoundCode,
            u"%1 method not found in the server method list"_s.arg(method.name));
    }
    const auto index = static_cast<std::size_t>(found - m_signatures.data());
    const RemoteMethod &spec = methodCatalogue()[index];
    ServerCall call(spec, params);
    if (m_shared) {
        m_shared->invoke(spec.id, call);
        return;
    }
    std::unique_ptr<TServerMethods1> instance = m_factory();
    instance->invoke(spec.id, call);
}

} // namespace morvex
