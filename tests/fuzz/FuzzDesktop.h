// The scripted desktop of the fuzz targets: every box is answered at once, nothing is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/Desktop.h"

namespace zn::fuzz {

class TFuzzDesktop : public TDesktop {
 public:
  int Boxes = 0;
  mutable std::int64_t Clock = 1'000'000;  // moves on with every reading

  void ShowMessage(const std::string&) override { ++Boxes; }
  void ShowError(const std::string&) override { ++Boxes; }
  bool AskYesNo(const std::string&, const std::string&) override { return (++Boxes & 1) != 0; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    ++Boxes;
    return std::string("Fuzz");
  }
  std::optional<std::string> SaveFileName(const std::string&, const std::string&, const std::string&,
                                          const std::string&) override {
    ++Boxes;
    return std::nullopt;  // the sheet writers have their own target
  }
  void Beep() override {}
  void SetCursor(TCursor c) override { cursor_ = c; }
  TCursor Cursor() const override { return cursor_; }
  void ProcessPendingEvents() override {}
  std::int64_t NowMs() const override { return Clock += 7; }
  bool StartProcess(const std::string&) override { return true; }
  bool OpenUrl(const std::string&) override { return true; }

 private:
  TCursor cursor_ = TCursor::Normal;
};

// Installs the desktop once for the whole run.
inline TFuzzDesktop& Desk() {
  static TFuzzDesktop desk;
  static const bool installed = (SetDesktop(&desk), true);
  (void)installed;
  return desk;
}

}  // namespace zn::fuzz
