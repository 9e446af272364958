// The journal of running deals in the club's SQLite file (tables running_deals and running_moves,
// made by the store's schema step), on a connection of its own: its batches commit without waiting
// for the disk (a crash of the server loses none of them; a power cut may lose the last ones),
// while a result's write stays synced on the store's connection.
#pragma once

#include <string>

#include "server/base/Journal.h"
#include "sqlite/Database.h"

namespace zn::server {

class SqliteJournal : public JournalStore {
 public:
  // Opens the store's file; the store has brought its schema up to date first. Throws StoreError.
  explicit SqliteJournal(const std::string& path);
  ~SqliteJournal() override;
  SqliteJournal(const SqliteJournal&) = delete;
  SqliteJournal& operator=(const SqliteJournal&) = delete;

  void Write(const std::vector<JournalEntry>& entries) override;
  std::vector<JournaledDeal> LoadRunning() override;

 private:
  void Apply(const JournalEntry& e);

  sqlite::Database db_;
  sqlite::Statement deal_, fair_, kept_, seats_, move_, endDeal_, endMoves_;
};

}  // namespace zn::server
