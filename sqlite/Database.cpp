#include "sqlite/Database.h"

#include <stdexcept>

namespace zn::sqlite {

Database::Database(const std::string& path, int flags, const std::string& openWhat, Raise raise)
    : raise_(std::move(raise)) {
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    raise_(openWhat, why);
    throw std::logic_error("sqlite::Raise returned");
  }
  sqlite3_busy_timeout(db_, 2000);
}

Database::~Database() { sqlite3_close(db_); }

void Database::Fail(std::string_view what) const {
  raise_(std::string(what), sqlite3_errmsg(db_));
  throw std::logic_error("sqlite::Raise returned");
}

void Database::Refuse(std::string_view what) const {
  raise_(std::string(what), {});
  throw std::logic_error("sqlite::Raise returned");
}

void Database::Exec(const char* sql) const {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error ? error : "unknown error";
    sqlite3_free(error);
    raise_("SQL", why);
    throw std::logic_error("sqlite::Raise returned");
  }
}

int Database::UserVersion() const {
  Statement s(*this, "PRAGMA user_version");
  if (!s.Step("read schema version")) Fail("read schema version");
  return s.Int(0);
}

void Database::Upgrade(std::span<const char* const> steps,
                       const std::function<std::string(int found)>& newer) const {
  const int from = UserVersion();
  const int latest = static_cast<int>(steps.size());
  if (from > latest) Refuse(newer(from));
  for (int version = from; version < latest; ++version) {
    Transaction t(*this);
    Exec(steps[static_cast<std::size_t>(version)]);
    Exec(("PRAGMA user_version=" + std::to_string(version + 1)).c_str());
    t.Commit();
  }
}

Statement::Statement(const Database& db, const char* sql, bool kept) : db_(db) {
  if (sqlite3_prepare_v3(db.get(), sql, -1, kept ? SQLITE_PREPARE_PERSISTENT : 0, &s_, nullptr) != SQLITE_OK)
    db.Fail("prepare");
}

Statement::~Statement() { sqlite3_finalize(s_); }

bool Statement::Step(std::string_view what) const {
  const int rc = sqlite3_step(s_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) db_.Fail(what);
  return false;
}

void Statement::Run(std::string_view what) const {
  if (sqlite3_step(s_) != SQLITE_DONE) db_.Fail(what);
}

void Statement::Reset() const {
  sqlite3_reset(s_);
  sqlite3_clear_bindings(s_);
}

void Statement::Bind(int i, std::int64_t value) const { sqlite3_bind_int64(s_, i, value); }

void Statement::BindText(int i, std::string_view utf8) const {
  sqlite3_bind_text(s_, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void Statement::BindBlob(int i, std::string_view bytes) const {
  // A zero-length blob, not NULL: the columns that hold bytes are NOT NULL.
  sqlite3_bind_blob(s_, i, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                    SQLITE_TRANSIENT);
}

std::int64_t Statement::Int64(int column) const { return sqlite3_column_int64(s_, column); }

int Statement::Int(int column) const { return sqlite3_column_int(s_, column); }

bool Statement::IsNull(int column) const { return sqlite3_column_type(s_, column) == SQLITE_NULL; }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s_, column));
  return std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(s_, column)));
}

std::string Statement::Blob(int column) const {
  const auto* blob = static_cast<const char*>(sqlite3_column_blob(s_, column));
  return std::string(blob ? blob : "", static_cast<std::size_t>(sqlite3_column_bytes(s_, column)));
}

Transaction::Transaction(const Database& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  db_.Exec("COMMIT");
  open_ = false;
}

}  // namespace zn::sqlite
