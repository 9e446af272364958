// The whole store of a club behind one interface, whichever database holds it (SqliteStore: a file;
// PgStore: a PostgreSQL database): the ports the club uses, what main and the tools need besides,
// and the raw rows the copy between backends moves (StoreCopy.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "deal/Shuffle.h"
#include "server/base/ClaimStore.h"
#include "server/base/Store.h"

namespace zn::server {

// One value of a row as the copy moves it: the tables hold integers, text (UTF-8) and bytes.
struct StoreValue {
  enum class Kind { Null, Int, Text, Bytes };
  Kind kind = Kind::Null;
  std::int64_t number = 0;
  std::string bytes;  // Text or Bytes
  bool operator==(const StoreValue&) const = default;
};
using StoreRow = std::vector<StoreValue>;

// A table as the copy sees it: its columns in order (the first ones its key, which orders the rows)
// and whether its first column takes ids from a counter the copy must carry over.
struct StoreTable {
  const char* name;
  std::vector<const char*> columns;
  std::vector<StoreValue::Kind> kinds;  // each column's kind (Null: none; every column may be NULL)
  int keyColumns = 1;
  bool counter = false;
};

// Every table the store keeps, in the order a copy writes them.
const std::vector<StoreTable>& StoreTables();

class ClubStore : public RoomStore, public NameStore {
 public:
  // Seconds since the epoch; tests move it.
  using NowFn = std::function<std::int64_t()>;

  // Drops rooms no human visited for idleSeconds; returns how many. Their results stay.
  virtual int DropIdleRooms(std::int64_t idleSeconds) = 0;
  // Makes everything written lasting in the database's own form (at shutdown).
  virtual void Flush() = 0;
  // The version of the database's schema (every backend has as many steps as the SQLite file).
  virtual int SchemaVersion() = 0;
  // The server's secret deal key (server/base/DealKey.h): made and stored at the first call on a
  // new store, the same for ever after.
  virtual deal::DealKey DealKey() = 0;
  // Result rows stored for a room (tests and tools).
  virtual int ResultCount(std::int64_t room) = 0;
  // Every kept deal that ended at or after since (seconds since the epoch), oldest first, with its
  // result. Throws StoreError, also for a row that does not read back.
  virtual void ForEachRecord(std::int64_t since,
                             const std::function<void(const dealrecord::DealRecord&)>& each) = 0;

  // The copy's raw access. Rows of table in key order.
  virtual void ReadRows(const StoreTable& table, const std::function<void(const StoreRow&)>& each) = 0;
  virtual void InsertRows(const StoreTable& table, const std::vector<StoreRow>& rows) = 0;
  virtual std::int64_t CountRows(const StoreTable& table) = 0;
  // The last id a counter table handed out (0: none yet), and setting it (never below its rows).
  virtual std::int64_t LastId(const StoreTable& table) = 0;
  virtual void SetLastId(const StoreTable& table, std::int64_t id) = 0;
  // Runs body in one transaction: committed when it returns, rolled back when it throws.
  virtual void Transact(const std::function<void()>& body) = 0;
};

}  // namespace zn::server
