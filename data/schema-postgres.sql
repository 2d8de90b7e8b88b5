-- Timetable database on a PostgreSQL server.
-- Identifiers are text; 星期, 课节 and 每周课时 are numbers; the day settings
-- (上午, 下午, 晚上) are kept as text, as timetabling programs often store them.
-- iif and cint below let statements of the Access/Jet dialect run unchanged.

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

-- Access/Jet functions used by the Access/Jet dialect.
CREATE FUNCTION iif(boolean, anycompatible, anycompatible) RETURNS anycompatible
  LANGUAGE sql IMMUTABLE AS 'select case when $1 then $2 else $3 end';

CREATE FUNCTION cint(text) RETURNS integer
  LANGUAGE sql IMMUTABLE STRICT AS 'select round(trim($1)::numeric, 0)::integer';

CREATE FUNCTION cint(numeric) RETURNS integer
  LANGUAGE sql IMMUTABLE STRICT AS 'select round($1, 0)::integer';

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
CREATE TABLE kcb_log (
  seq           BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  changed_at    TIMESTAMPTZ NOT NULL DEFAULT now(),
  db_user       TEXT DEFAULT current_user,
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

-- Live refresh: every change to kcb, by any program, is announced on the
-- channel of each timetable it touches, with the classes and teachers of the
-- lessons before and after the change. The channel is "kbtz_" and the MD5 of
-- "SCHEMA/TIMETABLE ID"; the payload {"xn": id, "bj": [...], "js": [...],
-- "hours": whether lessons came or went}, or {"xn": id, "all": true} when
-- the names would not fit into a notification. The control sends the same
-- for its own edits, once for the edit, and marks its transaction
-- (kbtz.notice) so that the trigger does not repeat it for every statement.
CREATE FUNCTION kbtz_kcb_changed() RETURNS trigger LANGUAGE plpgsql AS '
DECLARE
  plans TEXT[] := ''{}'';
  hours BOOLEAN := TG_OP <> ''UPDATE'';
  t RECORD;
BEGIN
  IF current_setting(''kbtz.notice'', true) = ''control'' THEN
    RETURN NULL;
  END IF;
  IF TG_OP = ''TRUNCATE'' THEN
    FOR t IN SELECT id::text AS xn FROM sz_xn LOOP
      PERFORM pg_notify(''kbtz_'' || md5(TG_TABLE_SCHEMA || ''/'' || t.xn),
                        json_build_object(''xn'', t.xn, ''all'', true)::text);
    END LOOP;
    RETURN NULL;
  END IF;
  IF TG_OP IN (''INSERT'', ''UPDATE'') THEN
    plans := plans || ARRAY(SELECT DISTINCT jxjh_id::text FROM changed_new);
  END IF;
  IF TG_OP IN (''DELETE'', ''UPDATE'') THEN
    plans := plans || ARRAY(SELECT DISTINCT jxjh_id::text FROM changed_old);
  END IF;
  IF TG_OP = ''UPDATE'' THEN
    hours := EXISTS (SELECT 1 FROM changed_old o FULL JOIN changed_new n ON o.id = n.id
                      WHERE o.id IS NULL OR n.id IS NULL OR o.jxjh_id IS DISTINCT FROM n.jxjh_id);
  END IF;
  FOR t IN
    SELECT xn_id::text AS xn,
           json_build_object(''xn'', xn_id::text,
                             ''bj'', json_agg(DISTINCT bj_id::text),
                             ''js'', json_agg(DISTINCT js_id::text),
                             ''hours'', hours)::text AS payload
      FROM info_jxjh WHERE id::text = ANY (plans) AND xn_id IS NOT NULL GROUP BY xn_id
  LOOP
    PERFORM pg_notify(''kbtz_'' || md5(TG_TABLE_SCHEMA || ''/'' || t.xn),
                      CASE WHEN octet_length(t.payload) < 7900 THEN t.payload
                           ELSE json_build_object(''xn'', t.xn, ''all'', true)::text END);
  END LOOP;
  RETURN NULL;
END';

CREATE TRIGGER kcb_changed_insert AFTER INSERT ON kcb
  REFERENCING NEW TABLE AS changed_new FOR EACH STATEMENT EXECUTE FUNCTION kbtz_kcb_changed();
CREATE TRIGGER kcb_changed_update AFTER UPDATE ON kcb
  REFERENCING OLD TABLE AS changed_old NEW TABLE AS changed_new FOR EACH STATEMENT EXECUTE FUNCTION kbtz_kcb_changed();
CREATE TRIGGER kcb_changed_delete AFTER DELETE ON kcb
  REFERENCING OLD TABLE AS changed_old FOR EACH STATEMENT EXECUTE FUNCTION kbtz_kcb_changed();
CREATE TRIGGER kcb_changed_truncate AFTER TRUNCATE ON kcb
  FOR EACH STATEMENT EXECUTE FUNCTION kbtz_kcb_changed();
