#include "gui/common/UserRole.h"

#include "core/records/TSonucBilgisi.h"

using namespace Qt::StringLiterals;

namespace morvex {

bool isStaffUser(int musteriTipi, const QString &carikod)
{
    return musteriTipi == 1 || musteriTipi == 2 || carikod.contains(u"BDM"_s, Qt::CaseSensitive);
}

UserRole userRoleFor(int musteriTipi, const QString &carikod)
{
    UserRole role;
    role.staff = isStaffUser(musteriTipi, carikod);
    role.basketStatusHidden = musteriTipi == 3;
    role.campaignHidden = musteriTipi == 4;
    return role;
}

UserRole userRoleFor(const TSonucBilgisi &session)
{
    return userRoleFor(session.MusteriTipi(), session.carikod());
}

} // namespace morvex
