// The state of the club window's three pages, each its own object: the connect page's address
// list, the lobby's rooms and members, and the room's seats. Plain data with the small rules that
// read it; TClubState holds one of each and tells the window what changed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zn {

struct TConnectState {
  std::string Address;                   // fdAddress
  std::vector<std::string> AddressList;  // adrList, most recently used first
  int AddressIndex = -1;                 // selected entry of adrList
  std::string PortText;                  // fdPort
  double ConnectTime = 0;                // days since the epoch: the last accepted connect click
};

struct TLobbyState {
  std::vector<std::string> Rooms;                     // fdRooms; Rooms[0] is the lobby itself
  std::vector<std::vector<std::string>> RoomMembers;  // one member list per room
  int RoomIndex = -1;                                 // selected room
  std::vector<std::string> Users;                     // fdUsers: the selected room's members
  int UserIndex = -1;
};

struct TRoomState {
  std::int32_t MySeat = 0;
  std::int32_t DealNumber = 0;
  std::string RoomName;  // the room entered last, for the way back after a drop

  std::array<std::string, 5> SeatLabels;  // index 1..4; empty until the first "R" line
  // Who holds each seat (index 1..4) by the last "R" line's pairs: the rules read this, never
  // the label's text.
  enum class TSeatHolder { Free, Robot, Member };
  std::array<TSeatHolder, 5> SeatHolders{};
  bool SeatDownVisible = true;  // lbSeatDown (shown only on the room page)
  std::string DealText;         // lbDeal
  std::string MatchText;        // lbMatch
  bool Dealer1Visible = false;  // lbDealer1
  bool Dealer3Visible = false;  // lbDealer3

  // A seat the member may take: free, or a robot's.
  bool SeatTakeable(int seat) const {
    return seat >= 1 && seat <= 4 && SeatHolders[static_cast<std::size_t>(seat)] != TSeatHolder::Member;
  }
  bool SeatFree(int seat) const {
    return seat >= 1 && seat <= 4 && SeatHolders[static_cast<std::size_t>(seat)] == TSeatHolder::Free;
  }
  // Seated on 1..4; any other number the server gave counts as not seated.
  bool Seated() const { return MySeat >= 1 && MySeat <= 4; }
};

}  // namespace zn
