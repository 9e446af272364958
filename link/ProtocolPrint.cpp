// The printers of the protocol's values (Protocol.h).
#include <cstdio>

#include "link/Protocol.h"

namespace zn::proto {

namespace {

struct Quoted {
  std::string_view text;
};
std::ostream& operator<<(std::ostream& os, Quoted q) {
  os << '"';
  for (const char c : q.text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      os << c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      os << hex;
    }
  }
  return os << '"';
}

template <class T>
std::ostream& List(std::ostream& os, const T& items) {
  os << "[";
  bool first = true;
  for (const auto& item : items) {
    os << (first ? "" : ", ");
    if constexpr (std::is_convertible_v<decltype(item), std::string_view>)
      os << Quoted{item};
    else
      os << item;
    first = false;
  }
  return os << "]";
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const TLobbyMember& m) {
  return os << "{room " << m.room << " " << Quoted{m.nickname} << "}";
}
std::ostream& operator<<(std::ostream& os, const TLobby& lobby) {
  os << "{rooms ";
  List(os, lobby.rooms) << " members ";
  return List(os, lobby.members) << "}";
}
std::ostream& operator<<(std::ostream& os, const TRoomMember& m) {
  return os << "{seat " << m.seat << " " << Quoted{m.nickname} << "}";
}
std::ostream& operator<<(std::ostream& os, const TRoom& room) {
  os << "{played " << Quoted{room.played} << " members ";
  return List(os, room.members) << "}";
}
std::ostream& operator<<(std::ostream& os, const TBidBlock& block) {
  os << "{" << Quoted{block.nickname} << " ";
  return List(os, block.bids) << "}";
}
std::ostream& operator<<(std::ostream& os, const TScoreItem& item) {
  return os << "{" << Quoted{item.label} << " " << item.points << "}";
}
std::ostream& operator<<(std::ostream& os, const TBidding& bidding) {
  os << "{dealer " << bidding.dealer << " ";
  return List(os, bidding.blocks) << "}";
}
std::ostream& operator<<(std::ostream& os, const THandLine& hand) {
  os << "{seat " << hand.seat << " cards ";
  return List(os, hand.cards) << "}";
}
std::ostream& operator<<(std::ostream& os, const TPlayLine& play) {
  os << "{seat " << play.seat << " trick " << play.trick << " taken " << Quoted{play.taken} << " cards ";
  return List(os, play.cards) << "}";
}
std::ostream& operator<<(std::ostream& os, const TScore& score) {
  os << "{pair " << score.pair << " ";
  return List(os, score.items) << "}";
}
std::ostream& operator<<(std::ostream& os, const TResultText& result) {
  return os << "{" << Quoted{result.ours} << ":" << Quoted{result.theirs} << "}";
}
std::ostream& operator<<(std::ostream& os, const TAnswer& answer) {
  os << "{" << Quoted{answer.asker} << " " << Quoted{answer.nickname} << " ";
  return List(os, answer.texts) << "}";
}
std::ostream& operator<<(std::ostream& os, const TInquiry& inquiry) {
  return os << "{" << Quoted{inquiry.asker} << " " << Quoted{inquiry.chosen} << "}";
}
std::ostream& operator<<(std::ostream& os, const TPoints& points) {
  return os << "{" << points.ours << ":" << points.theirs << "}";
}
std::ostream& operator<<(std::ostream& os, const TBidCommand& command) {
  return os << "{" << command.block << " count " << Quoted{command.count}
            << (command.counted ? " counted}" : " not counted}");
}
std::ostream& operator<<(std::ostream& os, const TReadStop& stop) {
  if (!stop.Failed()) return os << "whole";
  return os << "stopped at field " << stop.field << ": " << Quoted{stop.error};
}
std::ostream& operator<<(std::ostream& os, const TCommandSpan& span) {
  static constexpr const char* kCuts[] = {"Complete", "Incomplete", "Malformed", "Unknown"};
  const auto cut = static_cast<std::size_t>(span.cut);
  return os << "{" << (cut < std::size(kCuts) ? kCuts[cut] : "?") << " " << span.length << "}";
}

}  // namespace zn::proto
