#pragma once

#include "server/storage/Storage.h"

#include <memory>
#include <mutex>
#include <vector>

namespace morvex::server {

// Database sessions shared by the serving threads: a call leases one, uses it alone and gives it
// back, so that sessions (and their prepared statements) outlive single calls.
class StoragePool
{
public:
    explicit StoragePool(std::unique_ptr<StorageProvider> provider);
    ~StoragePool();

    class Lease
    {
    public:
        Lease(StoragePool &pool, std::unique_ptr<Storage> storage);
        Lease(Lease &&) noexcept = default;
        Lease &operator=(Lease &&) = delete;
        ~Lease();
        Storage &operator*() const { return *m_storage; }
        Storage *operator->() const { return m_storage.get(); }

    private:
        StoragePool *m_pool;
        std::unique_ptr<Storage> m_storage;
    };

    Lease acquire();

private:
    void giveBack(std::unique_ptr<Storage> storage);

    std::unique_ptr<StorageProvider> m_provider;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Storage>> m_idle;
};

} // namespace morvex::server
