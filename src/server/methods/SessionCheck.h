#pragma once

#include "server/storage/Storage.h"

namespace morvex {
class TSonucBilgisi;
}

namespace morvex::server {

// Who is calling, as the server knows it. The session record a client sends is only trusted as
// far as the server can check it: its computer identity must be bound to an active user whose
// name and password it carries; type and staff rights come from the server's own records.
struct Caller
{
    UserAccount user;
    bool staff = false;
};

Caller authenticate(Storage &storage, const TSonucBilgisi *session);
// Dealers act on their own account only; staff on any existing account.
void requireAccount(Storage &storage, const Caller &caller, int carino);
void requireStaff(const Caller &caller);

} // namespace morvex::server
