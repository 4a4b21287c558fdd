#include "server/methods/SessionCheck.h"

#include "core/records/TSonucBilgisi.h"

using namespace Qt::StringLiterals;

namespace morvex::server {

Caller authenticate(Storage &storage, const TSonucBilgisi *session)
{
    if (!session)
        throw StorageError(u"Oturum bilgisi gönderilmedi"_s);
    const auto user = storage.userForIdentity(session->BILGISAYARID());
    if (!user)
        throw StorageError(u"Bu bilgisayar kayıtlı değil"_s);
    if (user->adi != session->ADI() || user->sifre != session->SIFRE())
        throw StorageError(u"Oturum bilgisi geçersiz"_s);
    if (user->aktif != 1)
        throw StorageError(u"Kullanıcı aktif değil"_s);
    return {*user, isStaff(user->musteriTipi, user->cariKod)};
}

void requireAccount(Storage &storage, const Caller &caller, int carino)
{
    if (caller.staff) {
        if (!storage.accountExists(carino))
            throw StorageError(u"Cari bulunamadı: %1"_s.arg(carino));
        return;
    }
    if (carino != caller.user.carino)
        throw StorageError(u"Bu cari hesap üzerinde işlem yetkiniz yok"_s);
}

void requireStaff(const Caller &caller)
{
    if (!caller.staff)
        throw StorageError(u"Bu işlem yalnızca personel kullanıcılar içindir"_s);
}

} // namespace morvex::server
