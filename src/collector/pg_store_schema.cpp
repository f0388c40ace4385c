#include "collector/pg_store_schema.h"

#include <string>

#include "collector/submission_store.h"

namespace quorvant::collector {
namespace {

// Any number, the same in every collector: whoever holds it is migrating.
constexpr char kMigrationLock[] = "7183001";

// Version 0 (an empty database) to 1.
//
// Stamps are 14-digit numbers YYYYMMDDHHMMSS taken from the database's clock
// (or from the test clock a collector passes in instead). A submission takes
// the per-survey lock shared, so submissions never wait for each other and
// commit in groups; a fetch or a clear takes it alone, so it waits for every
// submission being stored and none starts meanwhile. A submission's stamp is
// at least the stamp of every submission committed before it and at least
// the bound of the last fetch; a fetch hands out only stamps below the
// current second and raises the bound to it. So what one fetch hands out is
// never followed by a stamp at or below it: fetches never skip or repeat.
constexpr char kVersion1[] = R"sql(
CREATE TABLE surveys(
  name bytea PRIMARY KEY, account bytea NOT NULL, password_hash text NOT NULL,
  registered bigint NOT NULL, delivered_below bigint NOT NULL DEFAULT 0);
CREATE TABLE submissions(
  id bigserial PRIMARY KEY, survey bytea NOT NULL, stamp bigint NOT NULL,
  remote bytea NOT NULL, agent bytea NOT NULL, fields text NOT NULL, copied_key text);
CREATE INDEX submissions_by_stamp ON submissions(survey, stamp, id);
CREATE UNIQUE INDEX submissions_copied ON submissions(survey, copied_key)
  WHERE copied_key IS NOT NULL;
CREATE TABLE password_failures(
  address bytea PRIMARY KEY, window_start bigint NOT NULL, failures integer NOT NULL,
  survey bytea NOT NULL, several_surveys boolean NOT NULL);
CREATE INDEX password_failures_by_start ON password_failures(window_start);

CREATE FUNCTION quorvant_seconds(test_seconds bigint) RETURNS bigint LANGUAGE sql VOLATILE
AS $$ SELECT coalesce(test_seconds, floor(extract(epoch FROM clock_timestamp()))::bigint) $$;

CREATE FUNCTION quorvant_stamp(test_seconds bigint) RETURNS bigint LANGUAGE sql VOLATILE
AS $$ SELECT to_char(to_timestamp(quorvant_seconds(test_seconds)) AT TIME ZONE 'UTC',
                     'YYYYMMDDHH24MISS')::bigint $$;

CREATE FUNCTION quorvant_survey_lock(survey bytea) RETURNS integer LANGUAGE sql IMMUTABLE
AS $$ SELECT hashtext(encode(survey, 'hex')) $$;

CREATE FUNCTION quorvant_submit(p_survey bytea, p_remote bytea, p_agent bytea, p_fields text,
                                p_seconds bigint) RETURNS bigint LANGUAGE plpgsql AS $$
DECLARE
  bound bigint;
  new_stamp bigint;
BEGIN
  PERFORM pg_advisory_xact_lock_shared(7183, quorvant_survey_lock(p_survey));
  SELECT delivered_below INTO bound FROM surveys WHERE name = p_survey;
  IF NOT FOUND THEN
    RETURN NULL;
  END IF;
  SELECT greatest(quorvant_stamp(p_seconds), bound, coalesce(max(stamp), 0)) INTO new_stamp
    FROM submissions WHERE survey = p_survey;
  INSERT INTO submissions(survey, stamp, remote, agent, fields)
    VALUES (p_survey, new_stamp, p_remote, p_agent, p_fields);
  RETURN new_stamp;
END $$;

CREATE FUNCTION quorvant_fetch(p_survey bytea, p_after bigint, p_seconds bigint)
RETURNS TABLE(stamp bigint, remote bytea, agent bytea, fields text) LANGUAGE plpgsql AS $$
#variable_conflict use_column
DECLARE
  bound bigint;
BEGIN
  PERFORM pg_advisory_xact_lock(7183, quorvant_survey_lock(p_survey));
  UPDATE surveys SET delivered_below = greatest(delivered_below, quorvant_stamp(p_seconds))
    WHERE name = p_survey RETURNING delivered_below INTO bound;
  RETURN QUERY SELECT s.stamp, s.remote, s.agent, s.fields FROM submissions s
    WHERE s.survey = p_survey AND s.stamp > p_after AND s.stamp < bound ORDER BY s.stamp, s.id;
END $$;

CREATE FUNCTION quorvant_clear(p_survey bytea, p_seconds bigint) RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(7183, quorvant_survey_lock(p_survey));
  UPDATE surveys SET delivered_below = greatest(delivered_below, quorvant_stamp(p_seconds),
      coalesce((SELECT max(stamp) FROM submissions WHERE survey = p_survey), 0))
    WHERE name = p_survey;
  DELETE FROM submissions WHERE survey = p_survey;
END $$;

CREATE FUNCTION quorvant_password_refused(p_address bytea, p_window bigint, p_limit integer)
RETURNS boolean LANGUAGE sql AS $$
  SELECT coalesce((SELECT failures >= p_limit FROM password_failures
                   WHERE address = p_address AND window_start > quorvant_seconds(NULL) - p_window),
                  false) $$;

CREATE FUNCTION quorvant_password_failed(p_address bytea, p_survey bytea, p_window bigint)
RETURNS integer LANGUAGE plpgsql AS $$
DECLARE
  now_seconds bigint := quorvant_seconds(NULL);
  counted integer;
BEGIN
  DELETE FROM password_failures WHERE window_start <= now_seconds - p_window;
  INSERT INTO password_failures AS f(address, window_start, failures, survey, several_surveys)
    VALUES (p_address, now_seconds, 1, p_survey, false)
    ON CONFLICT (address) DO UPDATE
      SET failures = f.failures + 1, several_surveys = f.several_surveys OR f.survey <> p_survey
    RETURNING failures INTO counted;
  RETURN counted;
END $$;
)sql";

// Step i brings the layout from version i to i + 1.
constexpr const char* kSteps[] = {kVersion1};
static_assert(std::size(kSteps) == kPgSchemaVersion);

void Run(PGconn* conn, const std::string& sql) {
  PGresult* result = PQexec(conn, sql.c_str());
  const bool ok = result && (PQresultStatus(result) == PGRES_COMMAND_OK ||
                             PQresultStatus(result) == PGRES_TUPLES_OK);
  const std::string why = result ? PQresultErrorMessage(result) : PQerrorMessage(conn);
  PQclear(result);
  if (ok) return;
  if (PQstatus(conn) != CONNECTION_OK)
    throw StoreUnavailable("lost the database connection: " + why);
  throw StoreError("cannot set up the database: " + why);
}

int Version(PGconn* conn) {
  PGresult* result = PQexec(conn, "SELECT version FROM quorvant_schema");
  const int version = result && PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1
                          ? std::stoi(PQgetvalue(result, 0, 0))
                          : -1;
  PQclear(result);
  if (version < 0) throw StoreError("cannot read the layout version of the database");
  return version;
}

void Migrate(PGconn* conn) {
  Run(conn,
      "CREATE TABLE IF NOT EXISTS quorvant_schema(version integer NOT NULL);"
      "INSERT INTO quorvant_schema SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM quorvant_schema)");
  int version = Version(conn);
  if (version > kPgSchemaVersion) {
    throw StoreError("the database was written by a newer collector (layout " +
                     std::to_string(version) + ")");
  }
  for (; version < kPgSchemaVersion; ++version) {
    Run(conn, "BEGIN");
    try {
      Run(conn, kSteps[version]);
      Run(conn, "UPDATE quorvant_schema SET version = " + std::to_string(version + 1));
      Run(conn, "COMMIT");
    } catch (...) {
      PQclear(PQexec(conn, "ROLLBACK"));
      throw;
    }
  }
}

}  // namespace

void MigratePgSchema(PGconn* conn) {
  Run(conn, std::string("SELECT pg_advisory_lock(") + kMigrationLock + ")");
  try {
    Migrate(conn);
  } catch (...) {
    PQclear(
        PQexec(conn, (std::string("SELECT pg_advisory_unlock(") + kMigrationLock + ")").c_str()));
    throw;
  }
  Run(conn, std::string("SELECT pg_advisory_unlock(") + kMigrationLock + ")");
}

}  // namespace quorvant::collector
