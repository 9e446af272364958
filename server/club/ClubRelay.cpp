// Chat, the news, and the introduction relay ("Q" asks, "W" answers) with its checks.
#include <algorithm>
#include <string>

#include "game/Cp1250.h"
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Names.h"
#include "server/club/Club.h"

namespace zn::server {

// Chat is what one member can multiply onto everyone in the room, so its bytes are bounded per
// line, per member and per address; a member whose queue is long loses chat, never deal lines.
void Club::Chat(Member& m, std::string_view text) {
  if (text.size() > proto::kMaxChatBytes)
    return Refuse(m, "chat line too long", text::kChatTooLong, std::to_string(proto::kMaxChatBytes));
  const auto line =
      std::make_shared<const std::string>(proto::LineMessage(m.who.nickname + ": " + proto::Relayable(text)));
  const auto bytes = static_cast<std::uint32_t>(line->size());  // bounded by the line limit
  const SteadyTime now = now_();
  const bool byAddress = !m.who.address.empty();
  if (!m.link.chatBytes.Has(now, bytes) ||
      (byAddress && !addresses_.HasChat(m.who.addressKey, now, bytes, limits_.chatBytesPerSecondPerAddress,
                                        limits_.chatBurstPerAddress)))
    return Refuse(m, "too much chat", text::kChatTooMuch);
  m.link.chatBytes.Take(now, bytes);
  if (byAddress) addresses_.TakeChat(m.who.addressKey, now, bytes);
  for (MemberId id : rooms_[m.place.room].present) {
    Member* to = Get(id);
    if (to && ChatReaches(*to)) out_.SendShared(id, line);
  }
}

bool Club::ChatReaches(Member& to) {
  const std::size_t queued = out_.Queued(to.id);
  if (to.link.chatDropped && queued >= limits_.chatDropQueued / 2) return false;
  to.link.chatDropped = queued > limits_.chatDropQueued;
  if (to.link.chatDropped) Notice(to, text::kChatDropped);
  return !to.link.chatDropped;
}

void Club::News(Member& m) {
  for (const std::string& line : news_) out_.Send(m.id, proto::LineMessage(line));
}

void Club::Inquiry(Member& m, std::string_view command) {
  const proto::TInquiry inquiry = proto::ReadInquiry(command);
  const std::string_view asker = inquiry.asker;
  const std::string_view chosen = inquiry.chosen;
  if (chosen.empty() || chosen.find(' ') != std::string_view::npos)
    return Refuse(m, "bad Q", text::kBadCommand);
  if (NameKey(asker) != m.who.folded) return Refuse(m, "Q in another's name", text::kOwnNameOnly);
  const SteadyTime now = now_();
  if (m.presence.inquired && now - m.presence.lastInquiry < kInquiryInterval)
    return Refuse(m, "Q too fast", text::kInquiryWait);
  Member* target = FindOnline(chosen);
  if (!target) return Notice(m, text::kNotOnline, chosen);
  m.presence.inquired = true;
  m.presence.lastInquiry = now;
  out_.Send(target->id, proto::Relayable(command));
  auto& askers = target->presence.inquirers;
  askers.erase(std::remove(askers.begin(), askers.end(), m.who.folded), askers.end());
  askers.push_back(m.who.folded);
  if (askers.size() > kMaxInquirers) askers.erase(askers.begin());
}

void Club::Answer(Member& m, std::string_view command) {
  // Only the two names count here; the server passes the texts on as they came.
  const proto::TAnswer answer = proto::ReadAnswer(command).value;
  const std::string asker = NameKey(answer.asker);
  const std::string_view chosen = answer.nickname;
  auto& askers = m.presence.inquirers;
  auto it = std::find(askers.begin(), askers.end(), asker);
  if (NameKey(chosen) != m.who.folded || it == askers.end()) {
    if (Charge(m)) Refuse(m, "W without Q", text::kNotAsked);
    return;
  }
  askers.erase(it);
  if (Member* target = FindOnline(asker)) out_.Send(target->id, proto::Relayable(command));
}

}  // namespace zn::server
