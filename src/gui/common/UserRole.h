#pragma once

#include <QString>

namespace morvex {

class TSonucBilgisi;

// What the logged-in user's role changes on the screens. Each rule stands on its own: a
// customer-type-3 account with "BDM" in its code is a staff user and also loses the basket's
// status column.
struct UserRole
{
    bool staff = false; // staff columns and "Başka Cari Seç" shown
    bool basketStatusHidden = false; // customer type 3: the basket's "Durum" column withdrawn
    bool campaignHidden = false; // customer type 4: the "Kampanyalı" tab and stock column withdrawn

    friend bool operator==(const UserRole &, const UserRole &) = default;
};

// Staff: customer type 1 or 2, or an account code containing "BDM" (case-sensitive).
bool isStaffUser(int musteriTipi, const QString &carikod);
UserRole userRoleFor(int musteriTipi, const QString &carikod);
UserRole userRoleFor(const TSonucBilgisi &session);

} // namespace morvex
