#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TMOBILCARIBILGISI_FIELDS(X)                                                                   \
    X(Text, BILGISAYARID, {})                                                                                \
    X(Text, SEHIR, {})                                                                                       \
    X(Text, FAX1, {})                                                                                        \
    X(Text, SATICIMAIL, {})                                                                                  \
    X(Text, SATICIADI, {})                                                                                   \
    X(Text, CARIADI, {})                                                                                     \
    X(Text, EMAIL, {})                                                                                       \
    X(Text, VERGIDAIRESI, {})                                                                                \
    X(Text, YETKILI, {})                                                                                     \
    X(Text, AltGrup, {})                                                                                     \
    X(Text, TEL2, {})                                                                                        \
    X(Text, SIFRE, {})                                                                                       \
    X(Text, GSM, {})                                                                                         \
    X(Text, TEL1, {})                                                                                        \
    X(Text, ADRES2, {})                                                                                      \
    X(Real, TLBORC, 0.0)                                                                                     \
    X(Real, TLALACAK, 0.0)                                                                                   \
    X(Text, ADRES1, {})                                                                                      \
    X(Text, ULKE, {})                                                                                        \
    X(Text, AnaGrup, {})                                                                                     \
    X(Integer, CARINO, 0)                                                                                    \
    X(Real, TLBAKIYE, 0.0)                                                                                   \
    X(Text, VERGINO, {})                                                                                     \
    X(Text, MAIL, {})                                                                                        \
    X(Text, OzelKod, {})                                                                                     \
    X(Text, KULLANICIADI, {})                                                                                \
    X(Text, SATICITELEFON, {})                                                                               \
    X(Text, CARIKOD, {})                                                                                     \
    X(Text, FAX2, {})                                                                                        \
    X(Text, ILCE, {})

namespace morvex {

// Details of one customer account.
class TMobilCariBilgisi final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(mobilstokunit, TMobilCariBilgisi, MORVEX_TMOBILCARIBILGISI_FIELDS)
    MORVEX_RECORD_KOPYALA(TMobilCariBilgisi)
};

} // namespace morvex
