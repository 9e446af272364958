// One connection to a PostgreSQL database through libpq: parameterised statements only (values
// travel apart from the SQL text), results read as text, failures thrown as StoreError with the
// owner's prefix. A statement that fails with the connection is reported, never sent again (it may
// have been done); the next statement opens a new connection first, and while the database cannot
// be reached those tries back off (0.5 s doubling to 30 s) and statements fail at once meanwhile,
// so the loop never waits on a database that is away. The log tells when it goes and comes back.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace zn::server::pg {

// A statement's values, $1 onwards.
class Params {
 public:
  Params& Int(std::int64_t value);
  Params& Text(std::string_view utf8);
  Params& Bytes(std::string_view bytes);
  Params& Null();

 private:
  friend class Connection;
  std::vector<std::string> values_;
  std::vector<bool> null_;
  std::vector<int> formats_;  // 0 text, 1 binary (the bytes)
};

class Result {
 public:
  explicit Result(pg_result* r) : r_(r) {}
  ~Result();
  Result(Result&& other) noexcept : r_(other.r_) { other.r_ = nullptr; }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;

  int Rows() const;
  // Rows the statement changed (UPDATE, DELETE, INSERT).
  std::int64_t Changed() const;
  bool IsNull(int row, int column) const;
  std::int64_t Int(int row, int column) const;
  std::string Text(int row, int column) const;
  // A bytea column (hex in the text form).
  std::string Bytes(int row, int column) const;

 private:
  pg_result* r_;
};

class Connection {
 public:
  // prefix starts every error ("", "journal: "); settings (SET statements) are run on every new
  // connection, the first and those after a reconnect. Throws StoreError when it cannot connect.
  Connection(std::string conninfo, std::string prefix, std::string settings = {});
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // One parameterised statement; what names it in an error.
  Result Exec(std::string_view what, const char* sql, const Params& params = {});
  // Statements without values, one or more (schema steps, settings).
  void Run(std::string_view what, const char* sql);
  [[noreturn]] void Refuse(std::string_view what) const;

  void Begin();
  void Commit();
  void Rollback() noexcept;
  bool InTransaction() const { return inTransaction_; }

 private:
  void Open();
  // Before a statement outside a transaction: a new connection for a broken one, within the backoff.
  void Reconnect();
  void Check(std::string_view what, pg_result* r, bool rows);
  [[noreturn]] void Fail(std::string_view what, std::string why) const;

  std::string conninfo_;
  std::string prefix_;
  std::string settings_;
  pg_conn* conn_ = nullptr;
  bool inTransaction_ = false;
  bool lost_ = false;  // the log was told the connection went
  std::chrono::milliseconds backoff_{0};
  std::chrono::steady_clock::time_point retryAt_{};
};

// BEGIN; rolled back when it leaves without Commit.
class Transaction {
 public:
  explicit Transaction(Connection& c) : c_(c) { c_.Begin(); }
  ~Transaction() {
    if (open_) c_.Rollback();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit() {
    c_.Commit();
    open_ = false;
  }

 private:
  Connection& c_;
  bool open_ = true;
};

}  // namespace zn::server::pg
