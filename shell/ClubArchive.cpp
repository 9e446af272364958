// The archive's part of the club window: asking the server for deal records once logged in, the
// record line kept when a deal ends, the "F" line marking it, and "&Archívum...".
#include <string>
#include <utility>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/Tokenizer.h"
#include "game/ZnError.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

// Sent once a connection, after the login ("N" runs to the end of the server's read, so "Z1" must
// not follow it in the same write). A server that does not know "Z" ignores it.
void TZnForm::AskForRecords() {
  if (RecordsAsked || !ArchiveForm->Available()) return;
  RecordsAsked = true;
  Send(proto::CmdRecords(true));
}

// The record comes from the server: it is read by the one strict reader, so a malformed one is
// refused whole (the error box names its line) and nothing of it is kept.
void TZnForm::ZLine(const std::string& line) {
  std::vector<dealrecord::DealRecord> deals = dealrecord::ReadDeals(Cp1250ToUtf8(proto::ReadRecord(line)));
  if (deals.size() != 1) throw EZnError(std::string("Hibás leosztás-rekord"_cp));
  dealrecord::DealRecord& deal = deals.front();
  if (!RecordGate.Admit(deal.number)) return;
  // The server's record has every card, also those played while the link was down.
  ResForm->CompleteTricks(deal);
  // The room is the one the client is in ("<name> terem"), the time the client's own.
  const std::string suffix(" terem");
  deal.room = State.Caption.ends_with(suffix) ? State.Caption.substr(0, State.Caption.size() - suffix.size())
                                              : State.Caption;
  deal.time = Desktop().NowMs() / 1000;
  ArchivedDeal = 0;
  ArchivedDeal = ArchiveForm->Keep(deal);
}

void TZnForm::ArchiveResult(const std::string& line) {
  const std::int64_t id = std::exchange(ArchivedDeal, 0);
  if (id == 0) return;
  const proto::TResultText result = proto::ReadResult(line);
  std::int32_t a = 0, b = 0;
  if (TryStrToInt(result.ours, a) && TryStrToInt(result.theirs, b)) ArchiveForm->MarkResult(id, a, b);
}

void TZnForm::cmArchiveExecute() {
  Guarded([&] { ArchiveForm->Show(); });
}

}  // namespace zn
