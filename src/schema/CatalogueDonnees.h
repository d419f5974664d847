#pragma once

// The three halves of the catalogue's data, joined by catalogueTables().

#include "schema/Catalogue.h"

namespace vyk {

std::span<const DefinitionTable> tablesQualite();
std::span<const DefinitionTable> tablesReferentiels();
std::span<const DefinitionTable> tablesVoisines();

} // namespace vyk
