// The club window's dispatcher: 100,000 queued "M" lines taken off one per idle pass.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "game/Desktop.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace {

class QuietDesktop : public zn::TDesktop {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileName(const std::string&, const std::string&, const std::string&,
                                          const std::string&) override {
    return std::nullopt;
  }
  void Beep() override {}
  void SetCursor(zn::TCursor c) override { cursor_ = c; }
  zn::TCursor Cursor() const override { return cursor_; }
  void ProcessPendingEvents() override {}
  std::int64_t NowMs() const override { return 0; }
  bool StartProcess(const std::string&) override { return true; }
  bool OpenUrl(const std::string&) override { return true; }

 private:
  zn::TCursor cursor_ = zn::TCursor::Normal;
};

class NullSocket : public zn::TSocketPort {
 public:
  void Connect(const std::string&, int) override {}
  void Close() override {}
  bool Active() const override { return false; }
  void Write(std::string_view) override {}
};

void BM_DispatchMessageLines(benchmark::State& state) {
  QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  const auto dir = std::filesystem::temp_directory_path() / "zn_bench_club";
  std::filesystem::create_directories(dir);
  {
    zn::TZnForm form(
        dir.string(), [] { return std::make_unique<NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form.Nickname = "Bench";
    form.FormShow();
    const int lines = static_cast<int>(state.range(0));
    std::string chunk;
    for (int i = 0; i < lines; ++i) {
      chunk.push_back('#');
      chunk.append(zn::proto::LineMessage("Bench: hello " + std::to_string(i)));
    }
    for (auto _ : state) {
      form.Link->Socket().OnData(chunk);
      while (form.IdleHandler()) {
      }
    }
    state.SetItemsProcessed(state.iterations() * lines);
  }
  zn::SetDesktop(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DispatchMessageLines)->Arg(100000)->Unit(benchmark::kMillisecond);

// One "I" line with 100,000 members, half of them in the lobby.
void BM_DispatchHugeLobbyLine(benchmark::State& state) {
  QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  const auto dir = std::filesystem::temp_directory_path() / "zn_bench_lobby";
  std::filesystem::create_directories(dir);
  {
    zn::TZnForm form(
        dir.string(), [] { return std::make_unique<NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form.Nickname = "Bench";
    form.FormShow();
    zn::proto::TLobby lobby{{"Lobby", "Room1"}, {}};
    for (int i = 0; i < state.range(0); ++i) lobby.members.push_back({i % 2, "member" + std::to_string(i)});
    std::string chunk(1, '#');
    chunk += zn::proto::LineLobby(lobby);
    for (auto _ : state) {
      form.Link->Socket().OnData(chunk);
      while (form.IdleHandler()) {
      }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
  }
  zn::SetDesktop(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DispatchHugeLobbyLine)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
