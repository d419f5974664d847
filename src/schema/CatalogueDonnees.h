#pragma once

// The three halves of the catalogue's data, joined by catalogueTables().

#include "schema/Catalogue.h"

namespace vyk {

// Short names of the column types, for the tables written as data.
namespace typesCourts {
inline constexpr auto T = TypeNeutre::Texte;
inline constexpr auto C = TypeNeutre::Court;
inline constexpr auto L = TypeNeutre::Long;
inline constexpr auto R = TypeNeutre::Reel;
inline constexpr auto D = TypeNeutre::DateHeure;
inline constexpr auto M = TypeNeutre::Memo;
inline constexpr auto B = TypeNeutre::OuiNon;
inline constexpr auto A = TypeNeutre::Auto;
} // namespace typesCourts

std::span<const DefinitionTable> tablesQualite();
std::span<const DefinitionTable> tablesReferentiels();
std::span<const DefinitionTable> tablesVoisines();

} // namespace vyk
