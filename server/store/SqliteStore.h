// The store in one SQLite file in WAL mode, with prepared statements.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "deal/Shuffle.h"
#include "server/base/ClaimStore.h"
#include "server/base/Store.h"
#include "sqlite/Database.h"

namespace zn::server {

class SqliteStore : public RoomStore, public NameStore {
 public:
  // Seconds since the epoch; tests move it.
  using NowFn = std::function<std::int64_t()>;

  // Opens or creates the file (":memory:" for a private database). Throws StoreError.
  explicit SqliteStore(const std::string& path, NowFn now = {});
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  // Drops rooms no human visited for idleSeconds; returns how many. Their results stay.
  int DropIdleRooms(std::int64_t idleSeconds);
  // Moves the write-ahead log into the main file (at shutdown).
  void Flush();
  // The version of the file's schema (PRAGMA user_version), and the one this server writes.
  int SchemaVersion();
  static int LatestSchemaVersion();
  // The server's secret deal key (server/base/DealKey.h): made and stored at the first call on a new
  // file, the same for ever after. Throws StoreError.
  deal::DealKey DealKey();
  // Result rows stored for a room (tests and tools).
  int ResultCount(std::int64_t room);

  std::vector<StoredRoom> LoadRooms() override;
  std::int64_t CreateRoom(std::string_view name) override;
  void SetOption(std::int64_t room, bool on) override;
  void SetPlayed(std::int64_t room, std::int32_t played) override;
  // The match secrets (SqliteMatches.cpp).
  std::optional<deal::MatchSecret> MatchSecretOf(std::int64_t room) override;
  void StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) override;
  std::int32_t AddResult(const StoredResult& result) override;
  std::int64_t AddRecord(std::int64_t room, const dealrecord::DealRecord& record) override;
  // Every kept deal that ended at or after since (seconds since the epoch), oldest first, with
  // its result (SqliteRecords.cpp). Throws StoreError, also for a row that does not read back.
  void ForEachRecord(std::int64_t since, const std::function<void(const dealrecord::DealRecord&)>& each);
  void TouchRoom(std::int64_t room) override;
  void DropRoom(std::int64_t room) override;
  // Claimed nicknames and the club's identity (server/base/ClaimStore.h), by folded name.
  claim::TClubId ClubIdentity() override;
  std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) override;
  claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) override;
  bool Release(std::string_view folded) override;
  void MarkUsed(std::string_view folded) override;
  std::size_t ReleaseUnused(std::int64_t unusedSeconds) override;

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
