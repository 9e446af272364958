#include "server/store/Export.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"

namespace zn::server {

using namespace zn::literals;

std::size_t ExportRecords(SqliteStore& store, const ExportOptions& options) {
  const std::string part = options.file + ".part";
  std::ofstream out(part, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + part);
  std::map<std::string, std::string> aliases;  // nickname -> its name in the file
  std::size_t count = 0;
  try {
    store.ForEachRecord(options.since, [&](const dealrecord::DealRecord& deal) {
      dealrecord::DealRecord r = deal;
      if (options.anonymise)
        for (dealrecord::SeatRecord& seat : r.seats)
          if (!seat.robot && !seat.name.empty()) {
            auto [it, added] = aliases.try_emplace(seat.name);
            if (added) it->second = std::string("játékos"_cp) + std::to_string(aliases.size());
            seat.name = it->second;
          }
      out << (count++ ? "\n" : "") << dealrecord::WriteDeal(r);
    });
    out.close();
    if (!out) throw std::runtime_error("cannot write " + part);
  } catch (...) {
    std::remove(part.c_str());
    throw;
  }
  if (std::rename(part.c_str(), options.file.c_str()) != 0) {
    std::remove(part.c_str());
    throw std::runtime_error("cannot write " + options.file);
  }
  return count;
}

}  // namespace zn::server
