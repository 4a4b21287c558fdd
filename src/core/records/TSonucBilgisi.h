#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TSONUCBILGISI_FIELDS(X)                                                                       \
    X(Text, BILGISAYARID, {})                                                                                \
    X(Text, SaticiMail, {})                                                                                  \
    X(Integer, Sirano, 0)                                                                                    \
    X(Text, CariAdi, {})                                                                                     \
    X(Text, SIFRE, {})                                                                                       \
    X(Integer, SaticiNo, 0)                                                                                  \
    X(Integer, CARINO, 0)                                                                                    \
    X(Integer, AKTIF, 0)                                                                                     \
    X(Text, Kullanicimail, {})                                                                               \
    X(Text, ADI, {})                                                                                         \
    X(Text, SaticiTelefon, {})                                                                               \
    X(Text, carikod, {})                                                                                     \
    X(Boolean, Varmi, false)                                                                                 \
    X(Text, SaticiAdi, {})                                                                                   \
    X(Text, BilgiSayarAdi, {})                                                                               \
    X(Text, Disip, {})                                                                                       \
    X(Text, Icip, {})                                                                                        \
    X(Text, BilgisayarKullanici, {})                                                                         \
    X(Integer, MusteriTipi, 1)                                                                               \
    X(Integer, Version, 1)

namespace morvex {

// The session record: who is logged in, for which customer account and from which computer.
// Every call that takes one is given a fresh copy (Kopyala) of the shared record, never the shared
// record itself.
class TSonucBilgisi final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(baglantiu, TSonucBilgisi, MORVEX_TSONUCBILGISI_FIELDS)
    MORVEX_RECORD_KOPYALA(TSonucBilgisi)
};

} // namespace morvex
