#pragma once

struct sqlite3;

// Registers cint (the Access/Jet conversion of a text or number to an
// integer, rounding halves to even; null stays null) on a SQLite connection,
// so that statements of the Access/Jet dialect run there unchanged.
void registerAccessFunctions(sqlite3* db);
