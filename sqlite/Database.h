// One SQLite file: opening it, statements that clean up after themselves, transactions that roll
// back unless committed, and the schema brought up by ordered steps. Every failure goes to the
// owner's Raise, which throws the owner's own error type.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace zn::sqlite {

// what: the step that failed (the owner's words); why: SQLite's message (UTF-8), or empty. Must
// throw.
using Raise = std::function<void(const std::string& what, const std::string& why)>;

class Database {
 public:
  // Opens with sqlite3_open_v2's flags and a busy timeout of 2 s; raises (openWhat, why) when the
  // file cannot be opened.
  Database(const std::string& path, int flags, const std::string& openWhat, Raise raise);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* get() const { return db_; }
  // Runs one or more statements without results.
  void Exec(const char* sql) const;
  // Raises what with SQLite's last message.
  [[noreturn]] void Fail(std::string_view what) const;
  // Raises what with no message of SQLite's (a fault the owner found).
  [[noreturn]] void Refuse(std::string_view what) const;

  // PRAGMA user_version.
  int UserVersion() const;
  // Brings the file to version steps.size(): step i takes a file of version i to i + 1, and
  // commits together with the new version number, so a crash leaves a whole step or none. A file
  // of a newer version raises newer(found) with no message of SQLite's: its tables may mean
  // something this program does not know.
  void Upgrade(std::span<const char* const> steps, const std::function<std::string(int found)>& newer) const;

 private:
  sqlite3* db_ = nullptr;
  Raise raise_;
};

// A prepared statement, finalized with the object. Kept statements (prepared once, used by many
// calls) are used through Use, which resets them whatever way the call leaves.
class Statement {
 public:
  Statement(const Database& db, const char* sql, bool kept = false);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return s_; }
  // One step: true for a row, false when done; raises what on an error.
  bool Step(std::string_view what) const;
  // Steps a statement that gives no row; raises what unless it is done.
  void Run(std::string_view what) const;
  void Reset() const;

  void Bind(int i, std::int64_t value) const;
  void BindText(int i, std::string_view utf8) const;
  void BindBlob(int i, std::string_view bytes) const;
  std::int64_t Int64(int column) const;
  int Int(int column) const;
  bool IsNull(int column) const;
  std::string Text(int column) const;
  std::string Blob(int column) const;

 private:
  const Database& db_;
  sqlite3_stmt* s_ = nullptr;
};

// A kept statement for one call: reset and unbound when the call leaves.
class Use {
 public:
  explicit Use(const Statement& s) : s_(s) {}
  ~Use() { s_.Reset(); }
  Use(const Use&) = delete;
  Use& operator=(const Use&) = delete;
  const Statement* operator->() const { return &s_; }
  sqlite3_stmt* get() const { return s_.get(); }

 private:
  const Statement& s_;
};

// BEGIN IMMEDIATE; rolled back when it leaves without Commit.
class Transaction {
 public:
  explicit Transaction(const Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  const Database& db_;
  bool open_ = true;
};

}  // namespace zn::sqlite
