#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TACILISEKRAN_FIELDS(X)                                                                        \
    X(Integer, SiraNo, 0)                                                                                    \
    X(Text, Resim, {})                                                                                       \
    X(Text, Baslik, {})                                                                                      \
    X(Text, Arama, {})

namespace morvex {

// One opening screen: an announcement or advertisement with a picture. FResim holds the picture
// bytes as hexadecimal text, two digits per byte.
class TAcilisEkran final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(mobilstokunit, TAcilisEkran, MORVEX_TACILISEKRAN_FIELDS)
};

} // namespace morvex
