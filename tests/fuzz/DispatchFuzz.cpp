// The club window's dispatcher with the table, played-games and personal-data windows behind it.
// The input is what the server sends, "#"-framed, cut into reads at every newline; between reads
// the dispatcher runs, and a trick pause is lifted as its timer would.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "link/ZnLink.h"
#include "shell/ZnCliTop.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"

namespace {

std::string ProgramDir() {
  const auto dir = std::filesystem::temp_directory_path() / "zn_fuzz_dispatch";
  std::filesystem::create_directories(dir);
  return dir.string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zn::test::ScopedFakeDesktop desk;
  desk.desk.Keep = false;
  desk.desk.ClockStep = 7;  // every reading of the clock finds time gone by
  static const std::string dir = ProgramDir();
  zn::test::SocketLog log;
  log.active = true;
  zn::TZnForm form(
      dir, [&log] { return std::make_unique<zn::test::FakeSocket>(log); },
      [](const std::string& programDir) { return programDir + "/Zn.INI"; });
  form.State.Nickname = "Fuzz";
  form.FormShow();
  form.Link->Host = "localhost";
  form.Link->Socket().OnConnected();

  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t cut = rest.find('\n');
    const std::string_view chunk = rest.substr(0, cut);
    rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
    if (!chunk.empty()) form.Link->Socket().OnData(std::string(chunk));
    for (int pass = 0; pass < 10'000; ++pass) {
      if (!form.IdleHandler()) {
        if (!form.BidForm->TrickPause) break;
        form.BidForm->LiftPause();
      }
    }
  }
  form.Dispatching = false;
  return 0;
}
