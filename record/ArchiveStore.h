// The member's own archive: every deal played or watched, kept in one SQLite file in the user's
// data folder. Each deal is committed when it is kept, so closing or a crash loses nothing kept.
// The deal is stored as its block of the open format (docs/deal-format.md) beside the columns the
// list shows, so the list reads little and a deal reads back through the one strict reader.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dealrecord/DealRecord.h"
#include "sqlite/Database.h"

namespace zn {

struct TArchiveRow {
  std::int64_t id = 0;
  std::int64_t time = 0;
  std::string room;
  std::int32_t deal = 0;
  std::array<std::string, 4> seats;  // seats 1..4
  bool written = false;
  std::int32_t points14 = 0;
  std::int32_t points23 = 0;
};

class TArchiveStore {
 public:
  // Opens or creates the file and brings its schema up to date; EZnError (with the file's name)
  // when it cannot, also for an archive written by a newer release.
  explicit TArchiveStore(const std::string& path);
  ~TArchiveStore();
  TArchiveStore(const TArchiveStore&) = delete;
  TArchiveStore& operator=(const TArchiveStore&) = delete;

  // Keeps one deal; returns its id.
  std::int64_t Keep(const dealrecord::DealRecord& deal);
  // Keeps every deal or none (an import).
  void KeepAll(const std::vector<dealrecord::DealRecord>& deals);
  // The result written down for a kept deal; nothing when the member has deleted it meanwhile.
  void MarkResult(std::int64_t id, std::int32_t points14, std::int32_t points23);
  // Deletes one deal; false when there is none of that id.
  bool Remove(std::int64_t id);
  // The deals, newest first; with a nickname, only those it sat in (without regard to case).
  std::vector<TArchiveRow> List(const std::string& nickname = {}) const;
  dealrecord::DealRecord Load(std::int64_t id) const;
  // Every deal, oldest first (an export).
  std::vector<dealrecord::DealRecord> All() const;

 private:
  std::int64_t Insert(const dealrecord::DealRecord& deal);
  sqlite::Database db_;
};

}  // namespace zn
