#include "store/sqlite_functions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sqlite3.h>
#include <string>

namespace {

bool roundToInt(double value, sqlite3_int64& out)
{
    if (!std::isfinite(value))
        return false;
    const double r = std::nearbyint(value); // the default mode rounds halves to even
    if (r < -2147483648.0 || r > 2147483647.0)
        return false;
    out = static_cast<sqlite3_int64>(r);
    return true;
}

void cintFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* arg = argv[0];
    sqlite3_int64 result = 0;
    switch (sqlite3_value_type(arg)) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        if (!roundToInt(sqlite3_value_double(arg), result)) {
            sqlite3_result_error(ctx, "cint: overflow", -1);
            return;
        }
        break;
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arg));
        std::string s = text ? text : "";
        const auto first = s.find_first_not_of(" \t");
        const auto last = s.find_last_not_of(" \t");
        s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
        char* end = nullptr;
        errno = 0;
        const double value = s.empty() ? 0 : std::strtod(s.c_str(), &end);
        if (s.empty() || end != s.c_str() + s.size() || errno != 0) {
            sqlite3_result_error(ctx, "cint: type mismatch", -1);
            return;
        }
        if (!roundToInt(value, result)) {
            sqlite3_result_error(ctx, "cint: overflow", -1);
            return;
        }
    }
    }
    sqlite3_result_int64(ctx, result);
}

} // namespace

void registerAccessFunctions(sqlite3* db)
{
    sqlite3_create_function_v2(db, "cint", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, cintFunction, nullptr,
                               nullptr, nullptr);
}
