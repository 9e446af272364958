#include "server/store/Export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <vector>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "server/store/OpenStore.h"

namespace zn::server {

using namespace zn::literals;

namespace {

// A name's alias in the file: prefix and the order of its first appearance.
class Aliases {
 public:
  explicit Aliases(std::string prefix) : prefix_(std::move(prefix)) {}
  const std::string& Of(const std::string& name) {
    auto [it, added] = names_.try_emplace(name);
    if (added) it->second = prefix_ + std::to_string(names_.size());
    return it->second;
  }

 private:
  std::string prefix_;
  std::map<std::string, std::string> names_;
};

// The temporary file beside the target: a new name made exclusively (never an existing file nor a
// link planted there), readable by the owner only. Its descriptor closes with it.
struct TempFile {
  std::string path;
  int fd = -1;
  explicit TempFile(const std::string& target) {
    std::vector<char> name(target.begin(), target.end());
    for (char c : std::string_view(".part.XXXXXX")) name.push_back(c);
    name.push_back('\0');
    fd = ::mkostemp(name.data(), O_CLOEXEC);  // O_CREAT | O_EXCL, mode 0600
    if (fd < 0) throw std::runtime_error("cannot write " + target + ".part");
    path = name.data();
  }
  ~TempFile() {
    if (fd >= 0) ::close(fd);
    if (!path.empty()) std::remove(path.c_str());
  }
  void Write(std::string_view data) {
    while (!data.empty()) {
      const ssize_t n = ::write(fd, data.data(), data.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw std::runtime_error("cannot write " + path);
      data.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  // Closes it and moves it over the target (a link at the target is replaced, not followed).
  void Keep(const std::string& target) {
    const int rc = ::fsync(fd) | ::close(fd);
    fd = -1;
    if (rc != 0 || std::rename(path.c_str(), target.c_str()) != 0)
      throw std::runtime_error("cannot write " + target);
    path.clear();
  }
};

}  // namespace

std::size_t ExportRecords(ClubStore& store, const ExportOptions& options) {
  TempFile out(options.file);
  Aliases players(std::string("játékos"_cp)), rooms(std::string("terem"_cp));
  std::size_t count = 0;
  store.ForEachRecord(options.since, [&](const dealrecord::DealRecord& deal) {
    dealrecord::DealRecord r = deal;
    if (options.anonymise) {
      for (dealrecord::SeatRecord& seat : r.seats)
        if (!seat.robot && !seat.name.empty()) seat.name = players.Of(seat.name);
      if (!r.room.empty()) r.room = rooms.Of(r.room);  // room names often carry a member's name
    }
    out.Write((count++ ? "\n" : "") + dealrecord::WriteDeal(r));
  });
  out.Keep(options.file);
  return count;
}

std::size_t ExportStore(const std::string& db, const ExportOptions& options) {
  if (!StoreExists(db)) throw StoreError("no store at " + db + ": nothing exported");
  return ExportRecords(*OpenStore(db), options);
}

}  // namespace zn::server
