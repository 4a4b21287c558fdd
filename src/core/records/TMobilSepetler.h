#pragma once

#include "core/records/TMobilSepet.h"
#include "core/records/TransferList.h"

namespace morvex {

class TMobilSepetler final : public TransferList<TMobilSepet>
{
    MORVEX_TRANSFER_LIST(mobilstokunit, TMobilSepetler)
};

} // namespace morvex
