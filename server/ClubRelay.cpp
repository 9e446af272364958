// Chat, the news, and the introduction relay ("Q" asks, "W" answers) with its checks.
#include <algorithm>

#include "game/Cp1250.h"
#include "link/Protocol.h"
#include "server/Club.h"
#include "server/ClubTexts.h"
#include "server/Names.h"

namespace zn::server {

void Club::Chat(Member& m, std::string_view text) {
  const auto line =
      std::make_shared<const std::string>(proto::LineMessage(m.nickname + ": " + proto::Relayable(text)));
  for (MemberId id : rooms_[m.room].present) out_.SendShared(id, line);
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
  if (NameKey(asker) != m.folded) return Refuse(m, "Q in another's name", text::kOwnNameOnly);
  const SteadyTime now = now_();
  if (m.inquired && now - m.lastInquiry < kInquiryInterval)
    return Refuse(m, "Q too fast", text::kInquiryWait);
  Member* target = FindOnline(chosen);
  if (!target) return Notice(m, text::kNotOnline, chosen);
  m.inquired = true;
  m.lastInquiry = now;
  out_.Send(target->id, proto::Relayable(command));
  auto& askers = target->inquirers;
  askers.erase(std::remove(askers.begin(), askers.end(), m.folded), askers.end());
  askers.push_back(m.folded);
  if (askers.size() > kMaxInquirers) askers.erase(askers.begin());
}

void Club::Answer(Member& m, std::string_view command) {
  // Only the two names count here; the server passes the texts on as they came.
  const proto::TAnswer answer = proto::ReadAnswer(command).value;
  const std::string asker = NameKey(answer.asker);
  const std::string_view chosen = answer.nickname;
  auto& askers = m.inquirers;
  auto it = std::find(askers.begin(), askers.end(), asker);
  if (NameKey(chosen) != m.folded || it == askers.end()) {
    if (Charge(m)) Refuse(m, "W without Q", text::kNotAsked);
    return;
  }
  askers.erase(it);
  if (Member* target = FindOnline(asker)) out_.Send(target->id, proto::Relayable(command));
}

}  // namespace zn::server
