#include "record/ZnArchive.h"

#include <algorithm>
#include <chrono>
#include <fstream>

#include "dealrecord/DealFormat.h"
#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ZnError.h"

namespace zn {

using namespace zn::literals;

namespace {

std::string Date(std::int64_t time) {
  std::string s = dealrecord::FormatTime(time);  // "2026-12-08T13:31:48Z"
  return s.substr(0, 10) + ' ' + s.substr(11, 5);
}

std::string Points(const TArchiveRow& r) {
  return r.written ? std::to_string(r.points14) + " : " + std::to_string(r.points23) : std::string("-");
}

std::string Bids(const std::vector<std::string>& bids) {
  if (bids.empty()) return std::string("passz");
  std::string s;
  for (const std::string& b : bids) s += (s.empty() ? "" : ", ") + b;
  return s;
}

}  // namespace

bool TArchiveForm::Available() {
  if (!path_) {
    const std::string folder = Desktop().DataFolder();
    path_ = folder.empty() ? std::string() : folder + "/" + kArchiveFile;
  }
  return !path_->empty();
}

TArchiveStore& TArchiveForm::Store() {
  if (!Available()) throw EZnError(std::string("Nincs hely az archívumnak"_cp));
  if (!store_) store_ = std::make_unique<TArchiveStore>(*path_);
  return *store_;
}

std::int64_t TArchiveForm::Keep(const dealrecord::DealRecord& deal) {
  if (!Available()) return 0;
  const std::int64_t id = Store().Keep(deal);
  if (Visible) Refresh();
  return id;
}

void TArchiveForm::MarkResult(std::int64_t id, std::int32_t points14, std::int32_t points23) {
  if (id == 0 || !Available()) return;
  Store().MarkResult(id, points14, points23);
  if (Visible) Refresh();
}

void TArchiveForm::Show() {
  Refresh();
  Visible = true;
  Notify(Aspect::Visible);
}

void TArchiveForm::Refresh() {
  // The chosen deal stays chosen when a new deal comes in above it.
  const std::int64_t chosen = ListIndex >= 0 && ListIndex < static_cast<int>(Rows.size())
                                  ? Rows[static_cast<std::size_t>(ListIndex)].id
                                  : 0;
  Rows = Available() ? Store().List(Filter) : std::vector<TArchiveRow>{};
  for (std::size_t i = 0; i < Rows.size(); ++i)
    if (chosen != 0 && Rows[i].id == chosen) ListIndex = static_cast<int>(i);
  ListCells.clear();
  for (const TArchiveRow& r : Rows) {
    std::string seats;
    for (const std::string& s : r.seats) seats += (seats.empty() ? "" : ", ") + s;
    ListCells.push_back({Date(r.time), r.room, std::to_string(r.deal), seats, Points(r)});
  }
  ListIndex = Rows.empty() ? -1 : std::clamp(ListIndex, 0, static_cast<int>(Rows.size()) - 1);
  Notify(Aspect::List);
}

void TArchiveForm::FilterChange(std::string text) {
  Filter = std::move(text);
  ListIndex = -1;  // the first deal found
  Refresh();
}

void TArchiveForm::ListClick(int index) {
  if (index < 0 || index >= static_cast<int>(Rows.size())) return;
  ListIndex = index;
  Notify(Aspect::List);
}

void TArchiveForm::ListDblClick(int index) {
  if (index < 0 || index >= static_cast<int>(Rows.size())) return;
  ListIndex = index;
  Deal = Store().Load(Rows[static_cast<std::size_t>(index)].id);
  opened_ = Rows[static_cast<std::size_t>(index)].id;
  BidLines.clear();
  for (const dealrecord::BidRecord& b : Deal->bids)
    BidLines.push_back(std::to_string(b.seat) + ". " + Deal->seats[static_cast<std::size_t>(b.seat)].name +
                       ": " + Bids(b.bids));
  Step = 0;
  *stop_ = true;  // an analysis of the deal shown before is of no use now
  stop_ = std::make_shared<std::atomic<bool>>(false);
  Verdicts.clear();
  Analysing = false;
  ShowStep();
}

void TArchiveForm::DeleteClick() {
  if (ListIndex < 0 || ListIndex >= static_cast<int>(Rows.size())) {
    Desktop().ShowMessage(std::string("Előbb válassz egy leosztást a listából!"_cp));
    return;
  }
  // The import keeps its deals on a worker: the list changes under it only when it is done.
  if (Importing) {
    Desktop().ShowMessage(std::string("Betöltés közben nem lehet törölni."_cp));
    return;
  }
  const std::array<std::string, 5>& cells = ListCells[static_cast<std::size_t>(ListIndex)];
  const std::int64_t id = Rows[static_cast<std::size_t>(ListIndex)].id;
  if (!Confirm(std::string("Törlöd ezt a leosztást? "_cp) + cells[0] + ", " + cells[1] + ", " + cells[2] +
               std::string(". osztás"_cp)))
    return;
  Store().Remove(id);
  if (opened_ == id) CloseDeal();
  Refresh();
}

void TArchiveForm::CloseDeal() {
  *stop_ = true;  // its analysis is of no use now
  stop_ = std::make_shared<std::atomic<bool>>(false);
  Deal.reset();
  opened_ = 0;
  Step = 0;
  Hands = {};
  Table = {};
  Leader = Winner = 0;
  BidLines.clear();
  StepText.clear();
  CanBack = CanForward = false;
  Verdicts.clear();
  VerdictLines.clear();
  VerdictLegend.clear();
  Analysing = false;
  Notify(Aspect::Replay);
}

void TArchiveForm::ForwardClick() {
  if (!Deal || Step >= static_cast<int>(Deal->tricks.size())) return;
  ++Step;
  ShowStep();
}

void TArchiveForm::BackClick() {
  if (!Deal || Step <= 0) return;
  --Step;
  ShowStep();
}

// The hands after Step tricks, and trick Step on the table.
void TArchiveForm::ShowStep() {
  const dealrecord::DealRecord& d = *Deal;
  const int tricks = static_cast<int>(d.tricks.size());
  Hands = d.hands;
  Table = {};
  Leader = Winner = 0;
  for (int k = 0; k < Step; ++k) {
    const dealrecord::TrickRecord& t = d.tricks[static_cast<std::size_t>(k)];
    for (int i = 0; i < kSeats; ++i) {
      TCards& hand = Hands[static_cast<std::size_t>(t.SeatAt(i))];
      std::erase(hand, t.cards[static_cast<std::size_t>(i)]);
      if (k == Step - 1) Table[static_cast<std::size_t>(t.SeatAt(i))] = t.cards[static_cast<std::size_t>(i)];
    }
    Leader = t.leader;
    Winner = t.Winner();
  }
  if (Step == 0)
    StepText = std::string("Kiosztva"_cp);
  else
    StepText = std::to_string(Step) + std::string(". ütés / "_cp) + std::to_string(tricks);
  if (Step == tricks)
    StepText +=
        std::string(" - ütések "_cp) + std::to_string(d.TakenBy(1)) + " : " + std::to_string(d.TakenBy(2)) +
        (d.written
             ? std::string(", eredmény "_cp) + std::to_string(d.points14) + " : " + std::to_string(d.points23)
             : std::string(", nincs felírva"_cp));
  CanBack = Step > 0;
  CanForward = Step < tricks;
  VerdictLines.clear();
  VerdictLegend = Verdicts.empty() ? std::string()
                                   : std::string(
                                         "Jelmagyarázat: \"6 -> 4\": a pár legjobb elérhető pontkülönbsége a "
                                         "lap előtt és után; \"ára 2 pont\": ennyit rontott a lap; \"jobb\": "
                                         "az a lap, amellyel megmaradt volna."_cp);
  for (const dealrecord::CardVerdict& v : Verdicts) {
    if (v.trick != Step) continue;
    std::string line = std::to_string(v.seat) + ". " + dealrecord::FormatCardName(v.card) + ": " +
                       std::to_string(v.before) + " -> " + std::to_string(v.after);
    if (v.Cost() > 0)
      line += std::string(", ára "_cp) + std::to_string(v.Cost()) + std::string(" pont; jobb: "_cp) +
              dealrecord::FormatCardName(v.best);
    VerdictLines.push_back(line);
  }
  Notify(Aspect::Replay);
}

void TArchiveForm::AnalyseClick() {
  if (!Deal || Analysing) return;
  Analysing = true;
  Notify(Aspect::Replay);
  const std::weak_ptr<bool> alive = alive_;
  const std::int64_t limitMs = AnalysisLimitMs;
  auto answer = [this, alive, stop = stop_, limitMs](std::vector<dealrecord::CardVerdict> verdicts,
                                                     bool late) {
    if (!alive.lock() || *stop) return;  // the window went, or another deal was opened
    Analysing = false;
    Verdicts = std::move(verdicts);
    ShowStep();
    if (late)
      Desktop().ShowMessage(std::string("Az elemzés nem készült el "_cp) + std::to_string(limitMs / 1000) +
                            std::string(" másodperc alatt, ezért leállt."_cp));
  };
  auto work = [deal = *Deal, stop = stop_, answer, post = PostToInterface, limitMs] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    bool late = false;
    auto verdicts = dealrecord::Analyse(deal, dealrecord::kPostMortemLimits, [&] {
      late = late || std::chrono::steady_clock::now() >= deadline;
      return stop->load() || late;
    });
    auto deliver = [answer, late, verdicts = std::move(verdicts)]() mutable {
      answer(std::move(verdicts), late);
    };
    if (post)
      post(std::move(deliver));
    else
      deliver();
  };
  if (RunInBackground)
    RunInBackground(std::move(work));
  else
    work();
}

void TArchiveForm::ExportClick() {
  TArchiveStore& store = Store();  // no archive: said before the dialog
  const auto path = Desktop().SaveFileName(std::string("Archívum mentése"_cp), "", "archivum.txt",
                                           std::string(kFileFilter));
  if (!path) return;
  std::string text;
  for (const dealrecord::DealRecord& d : store.All())
    text += (text.empty() ? "" : "\n") + dealrecord::WriteDeal(d);
  std::ofstream out(*path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw EZnError(std::string("A fájl nem írható: "_cp) + Utf8ToCp1250(*path));
}

}  // namespace zn
