#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TMOBILSEPET_FIELDS(X)                                                                         \
    X(Integer, KARGOID, 0)                                                                                   \
    X(Integer, StokNo, 0)                                                                                    \
    X(Date, TARIH, 0.0)                                                                                      \
    X(Integer, SIRANO, 0)                                                                                    \
    X(Text, CARIADI, {})                                                                                     \
    X(Date, VERILISTARIHI, 0.0)                                                                              \
    X(Integer, Durum, 0)                                                                                     \
    X(Real, MIKTAR, 0.0)                                                                                     \
    X(Integer, VERENIDNO, 0)                                                                                 \
    X(Real, NETTUTAR, 0.0)                                                                                   \
    X(Real, KDVLITUTAR, 0.0)                                                                                 \
    X(Real, KDV, 0.0)                                                                                        \
    X(Integer, AKTAR, 0)                                                                                     \
    X(Text, SAAT, {})                                                                                        \
    X(Real, VERGITUTARI, 0.0)                                                                                \
    X(Text, PKod, {})                                                                                        \
    X(Text, MODEL, {})                                                                                       \
    X(Real, INDIRIMTUTAR, 0.0)                                                                               \
    X(Integer, STOK_STOKNO, 0)                                                                               \
    X(Real, BIRIMFIYAT, 0.0)                                                                                 \
    X(Integer, SEC, 0)                                                                                       \
    X(Text, OEM2, {})                                                                                        \
    X(Text, OEM3, {})                                                                                        \
    X(Text, AnaGrup, {})                                                                                     \
    X(Text, MARKA, {})                                                                                       \
    X(Text, VEREN, {})                                                                                       \
    X(Text, STOKADI, {})                                                                                     \
    X(Text, OEM1, {})                                                                                        \
    X(Integer, CARINO, 0)                                                                                    \
    X(Integer, VERENSIRANO, 0)                                                                               \
    X(Integer, ACIKLAMA, 0)                                                                                  \
    X(Real, INDIRIMORANI2, 0.0)                                                                              \
    X(Text, OEM4, {})                                                                                        \
    X(Text, KUR, {})                                                                                         \
    X(Real, INDIRIMORANI3, 0.0)                                                                              \
    X(Integer, SIPARISNO, 0)                                                                                 \
    X(Real, IDNO, 0.0)                                                                                       \
    X(Text, OzelKod, {})                                                                                     \
    X(Text, DpKod, {})                                                                                       \
    X(Real, KURTL, 0.0)                                                                                      \
    X(Real, INDIRIMORANI1, 0.0)                                                                              \
    X(Text, DIGERADI, {})                                                                                    \
    X(Text, Barkod, {})                                                                                      \
    X(Real, TUTAR, 0.0)                                                                                      \
    X(Text, URETICIKODU, {})                                                                                 \
    X(Real, Kalan, 0.0)                                                                                      \
    X(Text, FINISHKOD, {})                                                                                   \
    X(Text, CARIKOD, {})                                                                                     \
    X(Real, NETBIRIMFIYAT, 0.0)                                                                              \
    X(Text, OemNo, {})                                                                                       \
    X(Integer, TESLIMID, 0)                                                                                  \
    X(Integer, ResimVar, 0)                                                                                  \
    X(Text, Resim, {})

namespace morvex {

// One basket line.
class TMobilSepet final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(mobilstokunit, TMobilSepet, MORVEX_TMOBILSEPET_FIELDS)
    MORVEX_RECORD_KOPYALA(TMobilSepet)
};

} // namespace morvex
