// The store in one SQLite file in WAL mode, with prepared statements.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "server/store/ClubStore.h"
#include "sqlite/Database.h"

namespace zn::server {

class SqliteStore : public ClubStore {
 public:
  // Opens or creates the file (":memory:" for a private database). Throws StoreError.
  explicit SqliteStore(const std::string& path, NowFn now = {});
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  int DropIdleRooms(std::int64_t idleSeconds) override;
  // Moves the write-ahead log into the main file.
  void Flush() override;
  // PRAGMA user_version.
  int SchemaVersion() override;
  static int LatestSchemaVersion();
  deal::DealKey DealKey() override;
  int ResultCount(std::int64_t room) override;

  std::vector<StoredRoom> LoadRooms() override;
  std::int64_t CreateRoom(std::string_view name) override;
  void SetOption(std::int64_t room, bool on) override;
  void SetPlayed(std::int64_t room, std::int32_t played) override;
  // The match secrets (SqliteMatches.cpp).
  std::optional<deal::MatchSecret> MatchSecretOf(std::int64_t room) override;
  void StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) override;
  std::int32_t AddResult(const StoredResult& result) override;
  std::int64_t AddRecord(std::int64_t room, const dealrecord::DealRecord& record) override;
  // SqliteRecords.cpp.
  void ForEachRecord(std::int64_t since,
                     const std::function<void(const dealrecord::DealRecord&)>& each) override;
  void TouchRoom(std::int64_t room) override;
  void DropRoom(std::int64_t room) override;
  // Claimed nicknames and the club's identity (server/base/ClaimStore.h), by folded name.
  claim::TClubId ClubIdentity() override;
  std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) override;
  claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) override;
  bool Release(std::string_view folded) override;
  void MarkUsed(std::string_view folded) override;
  std::size_t ReleaseUnused(std::int64_t unusedSeconds) override;
  // The copy's rows (SqliteRows.cpp).
  void ReadRows(const StoreTable& table, const std::function<void(const StoreRow&)>& each) override;
  void InsertRows(const StoreTable& table, const std::vector<StoreRow>& rows) override;
  std::int64_t CountRows(const StoreTable& table) override;
  std::int64_t LastId(const StoreTable& table) override;
  void SetLastId(const StoreTable& table, std::int64_t id) override;
  void Transact(const std::function<void()>& body) override;

 private:
  struct Kept;
  std::int64_t Now() const;
  // Marks the kept deal with the result just inserted, inside AddResult's transaction.
  void MarkRecord(std::int64_t record, std::int64_t result);

  sqlite::Database db_;
  NowFn now_;
  std::unique_ptr<Kept> kept_;  // the statements every room and result uses, prepared once
  std::optional<sqlite::Statement> addRecord_, markRecord_;  // prepared at the first use
};

}  // namespace zn::server
