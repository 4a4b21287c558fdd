#include "server/storage/StoragePool.h"

namespace morvex::server {

namespace {
constexpr std::size_t kMaxIdle = 16;
}

StoragePool::StoragePool(std::unique_ptr<StorageProvider> provider) : m_provider(std::move(provider)) {}

StoragePool::~StoragePool() = default;

StoragePool::Lease::Lease(StoragePool &pool, std::unique_ptr<Storage> storage)
    : m_pool(&pool), m_storage(std::move(storage))
{
}

StoragePool::Lease::~Lease()
{
    if (m_storage)
        m_pool->giveBack(std::move(m_storage));
}

StoragePool::Lease StoragePool::acquire()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_idle.empty()) {
            auto storage = std::move(m_idle.back());
            m_idle.pop_back();
            return Lease(*this, std::move(storage));
        }
    }
    return Lease(*this, m_provider->open());
}

void StoragePool::giveBack(std::unique_ptr<Storage> storage)
{
    std::lock_guard lock(m_mutex);
    if (m_idle.size() < kMaxIdle)
        m_idle.push_back(std::move(storage));
}

} // namespace morvex::server
