#pragma once

namespace sql {

// Dialect switch: 0 selects SQL Server syntax, any other value Access/Jet.
inline bool isSqlServer(int dataType) { return dataType == 0; }

} // namespace sql
