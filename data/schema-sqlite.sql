-- Timetable database for the embedded engine (SQLite).
-- Identifiers are text; 星期, 课节 and 每周课时 are numbers; the day settings
-- (上午, 下午, 晚上) are kept as text, as timetabling programs often store them.

CREATE TABLE sz_xn (
  id       TEXT PRIMARY KEY,
  学年     TEXT,
  学期     TEXT,
  排课名称 TEXT
);

CREATE TABLE sz_xn_rq (
  xn_id TEXT,
  星期  INTEGER,
  上午  TEXT,
  下午  TEXT,
  晚上  TEXT
);

CREATE TABLE info_bj (
  id       TEXT PRIMARY KEY,
  班级     TEXT,
  年级     TEXT,
  级别     TEXT,
  文理类型 TEXT
);

CREATE TABLE info_js (
  id     TEXT PRIMARY KEY,
  姓名   TEXT,
  简码   TEXT,
  教研组 TEXT
);

CREATE TABLE info_kc (
  id       TEXT PRIMARY KEY,
  课程名   TEXT,
  课程简称 TEXT
);

CREATE TABLE info_jxjh (
  id       TEXT PRIMARY KEY,
  xn_id    TEXT,
  bj_id    TEXT,
  js_id    TEXT,
  kc_id    TEXT,
  每周课时 INTEGER
);

CREATE TABLE kcb (
  id      TEXT PRIMARY KEY,
  jxjh_id TEXT,
  星期    INTEGER,
  课节    INTEGER
);

CREATE TABLE sz_js (
  xn_id    TEXT,
  js_id    TEXT,
  不排课节 TEXT,
  是否连排 INTEGER
);

CREATE TABLE sz_bj (
  xn_id    TEXT,
  bj_id    TEXT,
  不排课节 TEXT
);

CREATE TABLE sz_kc (
  xn_id      TEXT,
  kc_id      TEXT,
  不排课节   TEXT,
  优先级     INTEGER,
  同时排班数 INTEGER,
  连上节数   INTEGER
);

CREATE TABLE sz_jxjh (
  jxjh_id  TEXT,
  不排课节 TEXT
);

-- Every join and filter column of the control's statements.
CREATE INDEX sz_xn_name       ON sz_xn (学年, 学期, 排课名称);
CREATE INDEX sz_xn_rq_xn      ON sz_xn_rq (xn_id);
CREATE INDEX info_bj_class    ON info_bj (级别, 年级, 班级);
CREATE INDEX info_js_name     ON info_js (姓名);
CREATE INDEX info_jxjh_class  ON info_jxjh (xn_id, bj_id);
CREATE INDEX info_jxjh_teach  ON info_jxjh (xn_id, js_id);
CREATE INDEX info_jxjh_js     ON info_jxjh (js_id);
CREATE INDEX info_jxjh_bj     ON info_jxjh (bj_id);
CREATE INDEX info_jxjh_kc     ON info_jxjh (kc_id);
CREATE INDEX kcb_plan         ON kcb (jxjh_id);
CREATE INDEX kcb_slot         ON kcb (星期, 课节);
CREATE INDEX sz_js_owner      ON sz_js (js_id, xn_id);
CREATE INDEX sz_bj_owner      ON sz_bj (bj_id, xn_id);
CREATE INDEX sz_kc_owner      ON sz_kc (kc_id, xn_id);
CREATE INDEX sz_jxjh_plan     ON sz_jxjh (jxjh_id);

-- The change history: one row for every edit, undo and redo the control
-- commits, written in the edit's own transaction. A database without this
-- table works the same, without a history.
--   step    edit, undo or redo
--   kind    place (a new lesson), move, exchange (a lesson gave way), remove
--   kcb_id, jxjh_id        the lesson and its plan item
--   other_kcb_id           exchange: the lesson that gave way; it went from
--                          the after slot to the before slot
--   before_*, after_*      the lesson's slot before and after; null where it
--                          was not, or is no longer, in the timetable
-- changed_at is UTC; SQLite has no database users, so db_user stays null.
CREATE TABLE kcb_log (
  seq           INTEGER PRIMARY KEY AUTOINCREMENT,
  changed_at    TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now')),
  db_user       TEXT,
  desk          TEXT,
  xn_id         TEXT,
  step          TEXT,
  kind          TEXT,
  kcb_id        TEXT,
  jxjh_id       TEXT,
  other_kcb_id  TEXT,
  before_day    INTEGER,
  before_period INTEGER,
  after_day     INTEGER,
  after_period  INTEGER
);
CREATE INDEX kcb_log_timetable ON kcb_log (xn_id, seq);
