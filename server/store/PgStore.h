// The store in a PostgreSQL database (--db postgresql://...): the same tables and promises as the
// SQLite file. Results commit with synchronous_commit on: the server echoes "F" only once the
// result is on the database server's disk; the other writes, like the file's, do not wait for it.
#pragma once

#include <string>

#include "server/store/ClubStore.h"
#include "server/store/PgConnection.h"

namespace zn::server {

class PgStore : public ClubStore {
 public:
  // conninfo: a libpq connection string or URL. Connects and brings the schema up to date. Throws
  // StoreError.
  explicit PgStore(const std::string& conninfo, NowFn now = {});

  int DropIdleRooms(std::int64_t idleSeconds) override;
  // Every commit is lasting already.
  void Flush() override {}
  int SchemaVersion() override;
  deal::DealKey DealKey() override;
  int ResultCount(std::int64_t room) override;

  std::vector<StoredRoom> LoadRooms() override;
  std::int64_t CreateRoom(std::string_view name) override;
  void SetOption(std::int64_t room, bool on) override;
  void SetPlayed(std::int64_t room, std::int32_t played) override;
  std::optional<deal::MatchSecret> MatchSecretOf(std::int64_t room) override;
  void StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) override;
  std::int32_t AddResult(const StoredResult& result) override;
  // PgRecords.cpp.
  std::int64_t AddRecord(std::int64_t room, const dealrecord::DealRecord& record) override;
  void ForEachRecord(std::int64_t since,
                     const std::function<void(const dealrecord::DealRecord&)>& each) override;
  void TouchRoom(std::int64_t room) override;
  void DropRoom(std::int64_t room) override;
  claim::TClubId ClubIdentity() override;
  std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) override;
  claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) override;
  bool Release(std::string_view folded) override;
  void MarkUsed(std::string_view folded) override;
  std::size_t ReleaseUnused(std::int64_t unusedSeconds) override;
  // PgRows.cpp.
  void ReadRows(const StoreTable& table, const std::function<void(const StoreRow&)>& each) override;
  void InsertRows(const StoreTable& table, const std::vector<StoreRow>& rows) override;
  std::int64_t CountRows(const StoreTable& table) override;
  std::int64_t LastId(const StoreTable& table) override;
  void SetLastId(const StoreTable& table, std::int64_t id) override;
  void Transact(const std::function<void()>& body) override;
  // The last result and record ids this store has seen (from the database at the start, then its
  // own writes): the journal stamps a deal with them when the loop queues it, so its writer,
  // however late, never counts a result or record of the deal as written before it.
  std::int64_t LastResult() const { return lastResult_; }
  std::int64_t LastRecord() const { return lastRecord_; }

 private:
  std::int64_t Now() const;

  pg::Connection db_;
  NowFn now_;
  std::int64_t lastResult_ = 0, lastRecord_ = 0;
};

}  // namespace zn::server
