#pragma once

#include "core/records/TMobilStok.h"
#include "core/records/TransferList.h"

namespace morvex {

class TMobilStoklar final : public TransferList<TMobilStok>
{
    MORVEX_TRANSFER_LIST(mobilstokunit, TMobilStoklar)
};

} // namespace morvex
