#include "server/store/PgConnection.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>

#include "game/Cp1250.h"
#include "server/base/Log.h"
#include "server/base/Store.h"

namespace zn::server::pg {

Params& Params::Int(std::int64_t value) {
  values_.push_back(std::to_string(value));
  null_.push_back(false);
  formats_.push_back(0);
  return *this;
}

Params& Params::Text(std::string_view utf8) {
  values_.emplace_back(utf8);
  null_.push_back(false);
  formats_.push_back(0);
  return *this;
}

Params& Params::Bytes(std::string_view bytes) {
  values_.emplace_back(bytes);
  null_.push_back(false);
  formats_.push_back(1);
  return *this;
}

Params& Params::Null() {
  values_.emplace_back();
  null_.push_back(true);
  formats_.push_back(0);
  return *this;
}

Result::~Result() { PQclear(r_); }

int Result::Rows() const { return PQntuples(r_); }

std::int64_t Result::Changed() const {
  const char* n = PQcmdTuples(r_);
  std::int64_t value = 0;
  std::from_chars(n, n + std::char_traits<char>::length(n), value);
  return value;
}

bool Result::IsNull(int row, int column) const { return PQgetisnull(r_, row, column) != 0; }

std::int64_t Result::Int(int row, int column) const {
  const char* text = PQgetvalue(r_, row, column);
  const int length = PQgetlength(r_, row, column);
  std::int64_t value = 0;
  std::from_chars(text, text + length, value);
  return value;
}

std::string Result::Text(int row, int column) const {
  return std::string(PQgetvalue(r_, row, column), static_cast<std::size_t>(PQgetlength(r_, row, column)));
}

std::string Result::Bytes(int row, int column) const {
  const std::string_view hex(PQgetvalue(r_, row, column),
                             static_cast<std::size_t>(PQgetlength(r_, row, column)));
  std::string bytes;
  if (hex.size() < 2 || hex.substr(0, 2) != "\\x") return bytes;
  const auto nibble = [](char c) { return c >= 'a' ? c - 'a' + 10 : c >= 'A' ? c - 'A' + 10 : c - '0'; };
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 2; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<char>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
  return bytes;
}

Connection::Connection(std::string conninfo, std::string prefix, std::string settings)
    : conninfo_(std::move(conninfo)), prefix_(std::move(prefix)), settings_(std::move(settings)) {
  try {
    Open();
  } catch (...) {
    PQfinish(conn_);  // no destructor runs for a constructor that throws
    throw;
  }
}

Connection::~Connection() { PQfinish(conn_); }

void Connection::Open() {
  if (conn_) PQfinish(conn_);
  // Bounds on how long a connection or a statement may wait on a database that went silent; the
  // connection string's own values come after them and win.
  const char* keys[] = {"connect_timeout",
                        "keepalives_idle",
                        "keepalives_interval",
                        "keepalives_count",
                        "tcp_user_timeout",
                        "dbname",
                        nullptr};
  const char* values[] = {"5", "10", "5", "3", "10000", conninfo_.c_str(), nullptr};
  conn_ = PQconnectdbParams(keys, values, 1);
  if (PQstatus(conn_) != CONNECTION_OK) Fail("cannot connect to the database", PQerrorMessage(conn_));
  PQsetNoticeProcessor(
      conn_, [](void*, const char*) {}, nullptr);
  // Settings the store relies on whatever the server's defaults: names travel as UTF-8, bytes
  // come back as hex, and the server's notices ("already exists, skipping") stay out of stderr.
  Run("set up the connection",
      "SET client_encoding TO 'UTF8'; SET bytea_output TO 'hex'; SET client_min_messages TO warning");
  if (!settings_.empty()) Run("set up the connection", settings_.c_str());
}

void Connection::Fail(std::string_view what, std::string why) const {
  while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
  throw StoreError(prefix_ + std::string(what) + (why.empty() ? "" : ": " + why));
}

void Connection::Refuse(std::string_view what) const { Fail(what, {}); }

void Connection::Check(std::string_view what, pg_result* r, bool rows) {
  const ExecStatusType status = PQresultStatus(r);
  if (status == PGRES_COMMAND_OK || (rows && status == PGRES_TUPLES_OK)) return;
  const std::string why = r ? PQresultErrorMessage(r) : PQerrorMessage(conn_);
  PQclear(r);
  if (PQstatus(conn_) == CONNECTION_BAD && !lost_) {
    lost_ = true;
    std::string line = prefix_ + "database connection lost (" + std::string(what) + " failed): " + why;
    for (char& c : line)
      if (c == '\n' || c == '\t') c = ' ';
    Log(Utf8ToCp1250(line));
  }
  Fail(what, why);
}

void Connection::Reconnect() {
  // Inside a transaction the earlier statements went with the old connection: the statement fails.
  if (PQstatus(conn_) != CONNECTION_BAD || inTransaction_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now < retryAt_)
    Fail("the database is away", "the next try is within " + std::to_string(backoff_.count()) + " ms");
  try {
    Open();
  } catch (const StoreError& e) {
    backoff_ = std::min<std::chrono::milliseconds>(
        std::max<std::chrono::milliseconds>(backoff_ * 2, std::chrono::milliseconds(500)),
        std::chrono::seconds(30));
    retryAt_ = now + backoff_;
    Log(Utf8ToCp1250(prefix_ + "database still away, next try in " + std::to_string(backoff_.count()) +
                     " ms: " + e.what()));
    throw;
  }
  backoff_ = {};
  if (lost_) Log(Utf8ToCp1250(prefix_ + "database connection back"));
  lost_ = false;
}

Result Connection::Exec(std::string_view what, const char* sql, const Params& params) {
  Reconnect();
  std::vector<const char*> values;
  std::vector<int> lengths;
  for (std::size_t i = 0; i < params.values_.size(); ++i) {
    values.push_back(params.null_[i] ? nullptr : params.values_[i].data());
    lengths.push_back(static_cast<int>(params.values_[i].size()));
  }
  pg_result* r = PQexecParams(conn_, sql, static_cast<int>(values.size()), nullptr, values.data(),
                              lengths.data(), params.formats_.data(), 0);
  Check(what, r, true);
  return Result(r);
}

void Connection::Run(std::string_view what, const char* sql) {
  Reconnect();
  pg_result* r = PQexec(conn_, sql);
  Check(what, r, true);
  PQclear(r);
}

void Connection::Begin() {
  Run("begin", "BEGIN");
  inTransaction_ = true;
}

void Connection::Commit() {
  inTransaction_ = false;
  Run("commit", "COMMIT");
}

void Connection::Rollback() noexcept {
  inTransaction_ = false;
  PQclear(PQexec(conn_, "ROLLBACK"));
}

}  // namespace zn::server::pg
