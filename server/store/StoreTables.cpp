// The tables of the store as the copy between backends moves them. A schema step that adds a table
// or a column adds it here too (the contract tests compare this list with the tables of a new store).
#include "server/store/ClubStore.h"

namespace zn::server {

namespace {

constexpr auto I = StoreValue::Kind::Int;
constexpr auto T = StoreValue::Kind::Text;
constexpr auto B = StoreValue::Kind::Bytes;

}  // namespace

const std::vector<StoreTable>& StoreTables() {
  static const std::vector<StoreTable> tables = {
      {"rooms",
       {"id", "name", "option", "played", "last_human", "match_secret"},
       {I, T, I, I, I, B},
       1,
       true},
      {"results",
       {"id", "room", "room_name", "deal", "points14", "points23", "seat1", "seat2", "seat3", "seat4",
        "time"},
       {I, I, T, I, I, I, T, T, T, T, I},
       1,
       true},
      {"deal_records",
       {"id", "room", "room_name", "deal", "time", "dealer", "seat1", "seat2", "seat3", "seat4", "robots",
        "hands", "bids", "cards", "taken14", "taken23", "result"},
       {I, I, T, I, I, I, T, T, T, T, I, B, T, B, I, I, I},
       1,
       true},
      {"deal_key", {"id", "key"}, {I, B}},
      {"claims", {"name", "key", "time", "used"}, {T, B, I, I}},
      {"club_identity", {"id", "identity"}, {I, B}},
      {"running_deals",
       {"room", "deal", "seat1", "seat2", "seat3", "seat4", "results_before", "match_secret",
        "records_before", "ledger", "holds", "record"},
       {I, I, T, T, T, T, I, B, I, T, T, I}},
      {"running_moves", {"room", "idx", "seat", "card", "bidder", "bids"}, {I, I, I, I, T, T}, 2},
  };
  return tables;
}

}  // namespace zn::server
