// Importing a file of deals into the archive: its size checked first, then read and kept on a
// worker while the window shows how far it got; all of the file's deals or none.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dealrecord/DealFormat.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/ZnError.h"
#include "record/ZnArchive.h"

namespace zn {

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) throw EZnError(std::string("A fájl nem olvasható: "_cp) + Utf8ToCp1250(path));
  return std::move(text).str();
}

// A game or match sheet is text too, but no file of deals: say so rather than name a code page.
void ExpectDealFile(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  while (text.starts_with('\n') || text.starts_with("\r\n")) text.remove_prefix(text.front() == '\n' ? 1 : 2);
  if (!text.starts_with(dealrecord::kFormatHeader))
    throw EZnError(
        std::string("Ez nem leosztás-fájl: az archívum csak azt a fájlt tölti be, amelyet a "
                    "\"Mentés...\" gomb írt (egy játéklapot vagy meccslapot nem)"_cp));
}

}  // namespace

void TArchiveForm::ImportClick() {
  if (Importing) return;
  Store();  // no archive: said before the dialog
  const auto path = Desktop().OpenFileName(std::string("Leosztások betöltése"_cp), std::string(kFileFilter));
  if (!path) return;
  std::error_code failed;
  const std::uintmax_t size = std::filesystem::file_size(*path, failed);
  if (failed) throw EZnError(std::string("A fájl nem olvasható: "_cp) + Utf8ToCp1250(*path));
  if (size > kMaxImportBytes)
    throw EZnError(std::string("A fájl túl nagy ("_cp) + std::to_string(size >> 20) +
                   std::string(" MB): legfeljebb "_cp) + std::to_string(kMaxImportBytes >> 20) +
                   std::string(" MB-os fájl tölthető be"_cp));
  Importing = true;
  ImportPercent = 0;
  Notify(Aspect::Import);
  importStop_ = std::make_shared<std::atomic<bool>>(false);

  const std::weak_ptr<bool> alive = alive_;
  auto post = [to = PostToInterface, alive](std::function<void()> step) {
    auto guarded = [alive, step = std::move(step)] {
      if (alive.lock()) step();  // the window went: nothing to tell
    };
    if (to)
      to(std::move(guarded));
    else
      guarded();
  };
  auto progress = [this](int percent) {
    if (!Importing || percent == ImportPercent) return;
    ImportPercent = percent;
    Notify(Aspect::Import);
  };
  auto finish = [this](std::string error, std::size_t kept, bool cancelled) {
    ImportEnded(error, kept, cancelled);
  };
  auto work = [file = *path, db = *path_, stop = importStop_, post, progress, finish] {
    std::string error;
    std::size_t kept = 0;
    bool cancelled = false;
    try {
      const std::string text = ReadWhole(file);
      ExpectDealFile(text);
      int shown = -1;
      const auto deals = dealrecord::ReadDeals(text, [&](std::size_t read, std::size_t total) {
        const int percent = total == 0 ? 100 : static_cast<int>(read * 100 / total);
        if (percent != shown) post([progress, percent] { progress(percent); });
        shown = percent;
        return !stop->load();
      });
      post([progress] { progress(100); });
      // A cancel that comes while the deals are being kept is too late: they are all kept.
      cancelled = stop->load();
      if (!cancelled) {
        TArchiveStore store(db);
        store.KeepAll(deals);
        kept = deals.size();
      }
    } catch (const std::exception& e) {
      cancelled = stop->load();
      error = e.what();
    }
    post([finish, error, kept, cancelled] { finish(error, kept, cancelled); });
  };
  if (RunInBackground)
    RunInBackground(std::move(work));
  else
    work();
}

void TArchiveForm::ImportCancelClick() {
  if (Importing) *importStop_ = true;
}

void TArchiveForm::ImportEnded(const std::string& error, std::size_t kept, bool cancelled) {
  Importing = false;
  Notify(Aspect::Import);
  if (cancelled)
    return Desktop().ShowMessage(
        std::string("A betöltés megszakadt: a fájlból semmi sem került az archívumba."_cp));
  if (!error.empty()) return ShowErrorBox(error);
  Refresh();
  Desktop().ShowMessage(std::to_string(kept) + std::string(" leosztás került az archívumba."_cp));
}

}  // namespace zn
