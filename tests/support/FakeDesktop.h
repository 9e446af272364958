// The scripted desktop of the tests, fuzz targets and benchmarks: records every box and answers
// questions from a script. With Keep off it only counts, so a long run does not grow.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/Desktop.h"

namespace zn::test {

class FakeDesktop : public TDesktop {
 public:
  // One entry per box shown or service used, e.g. "message:E0", "error:...", "ask:...", "beep".
  std::vector<std::string> Log;
  std::vector<std::string> Messages;   // plain message boxes, in order
  std::vector<std::string> Errors;     // error boxes, in order
  std::vector<std::string> Questions;  // Yes/No questions, in order

  std::deque<bool> YesNoAnswers;                        // default: Yes
  std::deque<std::optional<std::string>> InputAnswers;  // default: Cancel
  std::deque<std::optional<std::string>> SaveAnswers;   // default: Cancel
  std::deque<std::optional<std::string>> OpenAnswers;   // default: Cancel
  std::string Data;                                     // DataFolder; default: none
  bool StartProcessResult = true;
  std::vector<std::string> Started;  // command lines and addresses opened
  int Beeps = 0;
  int PendingEventRuns = 0;
  mutable std::int64_t Clock = 1'000'000;  // NowMs; tests move it
  std::int64_t ClockStep = 0;              // NowMs moves the clock on by this much with every reading
  bool Keep = true;                        // false: boxes and services are counted, not kept
  int Boxes = 0;                           // every box shown or asked, kept or not
  TCursor CurrentCursor = TCursor::Normal;

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  bool AskYesNo(const std::string& question, const std::string& caption) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<std::string> SaveFileName(const std::string& title, const std::string& folder,
                                          const std::string& fileName, const std::string& filter) override;
  std::optional<std::string> OpenFileName(const std::string& title, const std::string& filter) override;
  std::string DataFolder() override { return Data; }
  void Beep() override;
  void SetCursor(TCursor cursor) override { CurrentCursor = cursor; }
  TCursor Cursor() const override { return CurrentCursor; }
  void ProcessPendingEvents() override;
  std::int64_t NowMs() const override;
  bool StartProcess(const std::string& commandLine) override;
  bool OpenUrl(const std::string& url) override;

  // Hook run by ProcessPendingEvents (lets a test deliver events inside Send).
  std::vector<std::function<void()>>* PendingHooks = nullptr;
  // Runs once inside the next message box, as the user (or the event loop) could act while it is
  // open; cleared before it runs.
  std::function<void()> InsideBox;
  // The same for the next input box.
  std::function<void()> InsideInput;

 private:
  void Note(std::string entry);  // into Log, when kept
};

// Installs a FakeDesktop for the lifetime of the object (restores the previous one after).
class ScopedFakeDesktop {
 public:
  ScopedFakeDesktop() : previous_(SetDesktop(&desk)) {}
  ~ScopedFakeDesktop() { SetDesktop(previous_); }
  ScopedFakeDesktop(const ScopedFakeDesktop&) = delete;
  ScopedFakeDesktop& operator=(const ScopedFakeDesktop&) = delete;
  FakeDesktop desk;

 private:
  TDesktop* previous_;
};

}  // namespace zn::test
