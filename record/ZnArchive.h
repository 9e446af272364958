// TArchiveForm: the "Archívum" window. The list of kept deals (date, room, deal number, seats,
// result) filtered by a nickname; one deal opened and replayed trick by trick with the four hands
// and the bids beside it; export and import in the open format. No Qt here.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dealrecord/DealRecord.h"
#include "dealrecord/PostMortem.h"
#include "game/Cp1250.h"
#include "record/ArchiveStore.h"

namespace zn {

class TArchiveForm {
 public:
  enum class Aspect { Visible, List, Replay, Import };
  std::function<void(Aspect)> Changed;

  // The archive file is kArchiveFile in the desktop's data folder, opened at the first use; with
  // no data folder nothing is kept.
  static constexpr const char* kArchiveFile = "archivum.db";
  static constexpr std::string_view kFileFilter = "Leosztások (*.txt)|*.txt"_cp;
  bool Visible = false;

  // ---- The list ----
  std::string Filter;                                 // fdFilter: a nickname, or empty for all
  std::vector<TArchiveRow> Rows;                      // the deals shown, newest first
  std::vector<std::array<std::string, 5>> ListCells;  // date, room, deal, seats, result
  int ListIndex = -1;

  // ---- The replay of the opened deal ----
  std::optional<dealrecord::DealRecord> Deal;
  int Step = 0;                            // tricks shown: 0 (the dealt hands) to the tricks played
  std::array<TCards, kSeats + 1> Hands{};  // [1..4]: the cards left after Step tricks
  std::array<TCard, kSeats + 1> Table{};   // [1..4]: the cards of trick Step by seat
  int Leader = 0, Winner = 0;              // of trick Step
  std::vector<std::string> BidLines;       // "seat name: bids" per set
  std::string StepText;                    // "3. ütés / 10", or the result at the end
  bool CanBack = false, CanForward = false;

  // ---- The post-mortem of the opened deal ----
  std::vector<dealrecord::CardVerdict> Verdicts;  // one per card played, once analysed
  std::vector<std::string> VerdictLines;          // the cards of trick Step, each with its verdict
  std::string VerdictLegend;                      // what a verdict line's numbers mean, once analysed
  bool Analysing = false;
  // An analysis still running after this long stops and says so (the search of a record with
  // more bids or moves than any real deal could run for minutes).
  std::int64_t AnalysisLimitMs = 30'000;
  // How the analysis runs off the interface thread: the view runs work on a worker and posts the
  // answer back to the interface thread. Unset, both run at once (tests).
  std::function<void(std::function<void()>)> RunInBackground;
  std::function<void(std::function<void()>)> PostToInterface;

  // ---- Import (ArchiveImport.cpp) ----
  // A file is read whole into memory: a larger one is refused before it is read.
  static constexpr std::uintmax_t kMaxImportBytes = std::uintmax_t{64} << 20;
  bool Importing = false;
  int ImportPercent = 0;  // of the file read

  // ---- Handlers ----
  void Show();  // "&Archívum...": reads the list and shows the window
  void Close() { Visible = false; }
  void FilterChange(std::string text);
  void ListClick(int index);
  void ListDblClick(int index);  // opens the deal
  void ForwardClick();
  void BackClick();
  void ExportClick();  // every deal to a file in the open format
  // Every deal of a file, or none: read and kept on a worker (RunInBackground) while the window
  // shows how far it got; the answer comes back through PostToInterface.
  void ImportClick();
  void ImportCancelClick();  // nothing of the file is kept
  void AnalyseClick();       // the post-mortem of the opened deal, off the interface thread
  // "&Törlés": the chosen deal, after a Yes to the question; not while a file is imported.
  void DeleteClick();

  // The club window keeps every deal that ends here; returns its id (0: no archive).
  std::int64_t Keep(const dealrecord::DealRecord& deal);
  void MarkResult(std::int64_t id, std::int32_t points14, std::int32_t points23);
  TArchiveStore& Store();  // EZnError when there is no archive
  bool Available();

 private:
  void Refresh();
  void ShowStep();
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
  void CloseDeal();
  std::optional<std::string> path_;  // found at the first use; empty: no data folder
  std::int64_t opened_ = 0;          // the id of the deal in Deal
  std::unique_ptr<TArchiveStore> store_;
  // The running analysis: a new deal or a new analysis makes the old one's answer stale, and the
  // window going stops it.
  std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::shared_ptr<std::atomic<bool>> importStop_ = std::make_shared<std::atomic<bool>>(false);
  void ImportEnded(const std::string& error, std::size_t kept, std::size_t already, bool cancelled);

 public:
  ~TArchiveForm() {
    *stop_ = true;
    *importStop_ = true;
  }
};

}  // namespace zn
