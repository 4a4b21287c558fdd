#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TMOBILSTOK_FIELDS(X)                                                                          \
    X(Integer, StokNo, 0)                                                                                    \
    X(Integer, ResimVar, 0)                                                                                  \
    X(Text, Resim, {})                                                                                       \
    X(Integer, Yeni, 0)                                                                                      \
    X(Text, Departman, {})                                                                                   \
    X(Real, VerilenSiparis, 0.0)                                                                             \
    X(Text, AltGrup, {})                                                                                     \
    X(Integer, Durum, 0)                                                                                     \
    X(Text, Renk, {})                                                                                        \
    X(Text, Birim, QStringLiteral("ADET"))                                                                   \
    X(Real, KDV, 18.0)                                                                                       \
    X(Real, AlinanSiparis, 0.0)                                                                              \
    X(Real, Isk2, 0.0)                                                                                       \
    X(Text, AnaGrup, {})                                                                                     \
    X(Text, Kod, {})                                                                                         \
    X(Real, Isk3, 0.0)                                                                                       \
    X(Real, ListeFiyati, 0.0)                                                                                \
    X(Text, Beden, {})                                                                                       \
    X(Real, NetFiyat, 0.0)                                                                                   \
    X(Real, Isk1, 0.0)                                                                                       \
    X(Real, KDVliFiyat, 0.0)                                                                                 \
    X(Real, Isk4, 0.0)                                                                                       \
    X(Text, OzelKod, {})                                                                                     \
    X(Integer, Kampnayali, 0)                                                                                \
    X(Text, Barkod, {})                                                                                      \
    X(Real, IndirimOran, 0.0)                                                                                \
    X(Real, Kalan, 0.0)                                                                                      \
    X(Text, UreticiKod, {})                                                                                  \
    X(Real, KampanyaliFiyat, 0.0)                                                                            \
    X(Text, OemNo, {})                                                                                       \
    X(Integer, BarkodNo, 0)                                                                                  \
    X(Text, PKod, {})                                                                                        \
    X(Text, DpKod, {})                                                                                       \
    X(Text, Adi, {})                                                                                         \
    X(Real, Fiyat, 0.0)

namespace morvex {

// One stock item with the customer's prices and discounts.
class TMobilStok final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(mobilstokunit, TMobilStok, MORVEX_TMOBILSTOK_FIELDS)
    MORVEX_RECORD_KOPYALA(TMobilStok)
};

} // namespace morvex
