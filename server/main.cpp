// znserver: the club server. Options as Usage() lists; SIGINT/SIGTERM stop it cleanly.
#include <malloc.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>

#include "game/Cp1250.h"
#include "server/Options.h"
#include "server/base/DealKey.h"
#include "server/base/Log.h"
#include "server/base/Names.h"
#include "server/store/OpenStore.h"
#include "server/store/StoreCopy.h"

namespace {

// Every member holds a descriptor: take all the process may have.
void RaiseFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

// --copy-store FROM TO. A target file this run made is removed again when the copy fails.
int CopyStores(const std::string& from, const std::string& to) {
  using namespace zn::server;
  if (from == to) {
    std::fprintf(stderr, "znserver: --copy-store needs two different stores\n");
    return 2;
  }
  if (!StoreExists(from)) {
    std::fprintf(stderr, "znserver: no store at %s: nothing copied\n", from.c_str());
    return 1;
  }
  const bool newFile = !StoreExists(to);
  try {
    const std::unique_ptr<ClubStore> source = OpenStore(from);
    const std::unique_ptr<ClubStore> target = OpenStore(to);
    for (const CopiedTable& t : CopyStore(*source, *target))
      std::printf("znserver: %-14s %10lld rows, checksum %.16s\n", t.name.c_str(),
                  static_cast<long long>(t.rows), t.checksum.c_str());
    std::printf("znserver: %s copied to %s: every table checked\n", StoreName(from).c_str(),
                StoreName(to).c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "znserver: %s\n", e.what());
    if (newFile)
      for (const char* suffix : {"", "-wal", "-shm"}) std::remove((to + suffix).c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zn::server;
  Options options;
  std::string error;
  switch (ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    case ParseResult::Help:
      std::fputs(Usage().c_str(), stdout);
      return 0;
    case ParseResult::Version:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case ParseResult::Error:
      std::fprintf(stderr, "znserver: %s\n%s", error.c_str(), Usage().c_str());
      return 2;
    case ParseResult::Run:
      break;
  }
  if (!options.newsFile.empty() && !ReadNews(options.newsFile, options.server.news, error)) {
    std::fprintf(stderr, "znserver: %s\n", error.c_str());
    return 1;
  }
  if (!options.copyFrom.empty()) return CopyStores(options.copyFrom, options.copyTo);
  if (!options.release.empty()) {
    // A mistyped path must not leave a new, empty store behind.
    if (!StoreExists(options.db)) {
      std::fprintf(stderr, "znserver: no store at %s: nothing released\n", options.db.c_str());
      return 1;
    }
    try {
      const bool released = OpenStore(options.db)->Release(NameKey(options.release));
      const std::string nick = zn::Cp1250ToUtf8(options.release);
      std::printf(released ? "znserver: %s released in %s: anyone may claim it now\n"
                           : "znserver: %s is not claimed in %s: nothing changed\n",
                  nick.c_str(), StoreName(options.db).c_str());
      return 0;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "znserver: %s\n", e.what());
      return 1;
    }
  }
  RaiseFileLimit();
  // Lobby lines of a big club are large and short-lived: give them their own mappings, so their
  // memory goes back to the system when they are written instead of scattering the heap.
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);
  try {
    // A key file that cannot be used stops the start before the store is touched.
    if (!options.dealKeyFile.empty()) options.server.dealKey = ReadDealKeyFile(options.dealKeyFile);
    if (!options.exportDeals.file.empty()) {
      const std::size_t n = ExportStore(options.db, options.exportDeals);
      Log(std::to_string(n) + " deals written to " + options.exportDeals.file);
      return 0;
    }
    const std::unique_ptr<ClubStore> opened = OpenStore(options.db);
    ClubStore& store = *opened;
    const int dropped = store.DropIdleRooms(24 * 3600);
    Log("store " + StoreName(options.db) + ": " + std::to_string(dropped) + " idle rooms dropped");
    if (!options.server.dealKey) options.server.dealKey = store.DealKey();
    options.server.names = &store;
    Log(std::string("deal key from ") + (options.dealKeyFile.empty() ? "the store" : options.dealKeyFile));
    // The journal's connection opens after the store brought the schema up to date; a journal that
    // cannot be opened leaves the club running without one.
    std::unique_ptr<JournalStore> journal;
    try {
      if (options.journal) journal = OpenJournal(options.db, &store);
    } catch (const StoreError& e) {
      Log(std::string(e.what()) + ": running deals are not journaled");
    }
    asio::io_context io(1);
    Server server(io, store, options.server, journal.get());
    asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&](std::error_code ec, int signal) {
      if (ec) return;
      Log("signal " + std::to_string(signal) + ": stopping");
      server.Stop();
    });
    io.run();
    store.Flush();
    Log("stopped");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "znserver: %s\n", e.what());
    return 1;
  }
  return 0;
}
