// The desktop and socket of the club window's benchmarks: every box answered at once, nothing
// connected.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/Desktop.h"
#include "link/Socket.h"

namespace zn::bench {

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

}  // namespace zn::bench
