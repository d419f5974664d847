#pragma once

struct sqlite3;

namespace vyk {

// Registers cstr, cdbl, cint, isnumeric, year..second, cvdate, vyk_format, vyk_now, vyk_right
// and a LIKE that ignores case for every letter.
bool enregistrerFonctionsSqlite(sqlite3 *db);

} // namespace vyk
