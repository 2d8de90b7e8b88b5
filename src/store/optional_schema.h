#pragma once

class Connection;
class QString;

// What this project adds to the tables a timetabling program documents. A
// school's own database may have none of it, so each part is looked up once
// per connection and used only when it is there.
struct OptionalSchema {
    bool dayWeekday = false; // sz_xn_rq.星期: which weekday a day setting is for
    bool changeLog = false;  // kcb_log: the change history
    bool fetFiles = false;   // kbtz_fet_file and kbtz_fet_lesson: what an FET import keeps for its export
};

// Looks the parts up with catalogue reads that never fail on a database
// without them (so they abort no transaction of the host's). Throws DbError
// when the catalogue cannot be read; an engine without a known catalogue
// query has none of the parts.
OptionalSchema findOptionalSchema(Connection& conn);

// Whether the database has the table, as the connection's statements find it
// (on PostgreSQL, through the search path).
bool tablePresent(Connection& conn, const QString& table);
