// Every deal that ends is kept whole: the record goes to the store when the score is out, marked
// as not written down; the result, when "F" writes it, marks the record in its own transaction.
// So a deal whose result is never written is kept too, and a crash loses no deal that ended.
#include "dealrecord/DealFormat.h"
#include "dealrecord/GameRecord.h"
#include "game/Cp1250.h"
#include "link/Protocol.h"
#include "server/base/Log.h"
#include "server/deals/Deals.h"

namespace zn::server {

void Deals::KeepRecord(const Room& room, Table& t) {
  dealrecord::DealRecord r = dealrecord::RecordOfGame(*t.game);
  r.room = room.name;
  for (int s = 1; s <= kSeats; ++s)
    r.seats[static_cast<std::size_t>(s)] = {t.names[static_cast<std::size_t>(s)], IsRobot(room, s)};
  // The others' hands only now that the deal is over: the players and watchers who asked get it.
  const std::string line = proto::LineRecord(Utf8ToCp1250(dealrecord::WriteDeal(r)));
  for (const MemberId id : Audience(room))
    if (const Member* m = club_.Find(id); m && m->link.records) out_.Send(id, line);
  try {
    t.record = store_.AddRecord(room.storeId, r);
  } catch (const StoreError& e) {
    // The deal is played; only its record is lost, and the log says so.
    Log("store: deal " + std::to_string(r.number) + " in " + room.name + " not kept: " + e.what());
  }
}

}  // namespace zn::server
