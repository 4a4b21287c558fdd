#pragma once

#include "Catalogue.h"

#include <string>

namespace remotegen {

std::string emitMethodIds(const Catalogue &catalogue);
std::string emitCatalogueData(const Catalogue &catalogue);
std::string emitClientHeader(const Catalogue &catalogue);
std::string emitClientSource(const Catalogue &catalogue);
std::string emitServerHeader(const Catalogue &catalogue);
std::string emitServerSource(const Catalogue &catalogue);
std::string emitMethodList(const Catalogue &catalogue);
std::string emitRoundTripCases(const Catalogue &catalogue);

} // namespace remotegen
