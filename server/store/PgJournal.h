// The journal of running deals in the PostgreSQL database (tables running_deals and running_moves),
// on a connection of its own whose batches commit without waiting for the database server's disk
// (a crash of this server loses none of them; a crash of the database server may lose the last
// ones), while a result's write stays synchronous on the store's connection.
#pragma once

#include <string>

#include "server/base/Journal.h"
#include "server/store/PgConnection.h"

namespace zn::server {

class PgJournal : public JournalStore {
 public:
  // The store has brought the schema up to date first. Throws StoreError.
  explicit PgJournal(const std::string& conninfo);

  void Write(const std::vector<JournalEntry>& entries) override;
  std::vector<JournaledDeal> LoadRunning() override;

 private:
  void Apply(const JournalEntry& e);

  pg::Connection db_;
};

}  // namespace zn::server
