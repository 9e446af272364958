// The desktop port: every modal box and platform service the logic needs. The Qt program installs
// its implementation at start; tests install a scripted fake. All texts are cp1250 bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zn {

enum class TCursor { Normal, Hourglass };

class TDesktop {
 public:
  virtual ~TDesktop() = default;

  // Plain message box: OK button, no icon, caption "ZnClient".
  virtual void ShowMessage(const std::string& text) = 0;
  // Error box: error icon, OK button, caption "ZnClient". The text is shown as given.
  virtual void ShowError(const std::string& text) = 0;
  // Yes/No question box with the question-mark icon; true for Yes.
  virtual bool AskYesNo(const std::string& question, const std::string& caption) = 0;
  // Input box; the typed text on OK, nothing on Cancel.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
  // Save-file dialog; the chosen path (local 8-bit file name) or nothing when cancelled.
  virtual std::optional<std::string> SaveFileName(const std::string& title, const std::string& folder,
                                                  const std::string& fileName, const std::string& filter) = 0;
  // Open-file dialog; the chosen path (local 8-bit file name) or nothing when cancelled.
  virtual std::optional<std::string> OpenFileName(const std::string& title, const std::string& filter) = 0;
  // The folder of the program's own data (the deal archive), created when missing; empty when
  // there is none.
  virtual std::string DataFolder() = 0;
  virtual void Beep() = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TCursor Cursor() const = 0;
  // Lets the user-interface events that are pending run once.
  virtual void ProcessPendingEvents() = 0;
  // Milliseconds since the epoch (wall clock).
  virtual std::int64_t NowMs() const = 0;
  // Milliseconds of a clock that never jumps (timeouts and waits); the wall clock unless given.
  virtual std::int64_t SteadyMs() const { return NowMs(); }
  // Starts a process from a command line without waiting; false when it cannot be started.
  virtual bool StartProcess(const std::string& commandLine) = 0;
  // Opens an address in the user's web browser; false when that fails.
  virtual bool OpenUrl(const std::string& url) = 0;
};

// The installed desktop. Using it before one is installed is a programming error (aborts).
TDesktop& Desktop();
// Installs d (not owned; nullptr uninstalls). Returns the previous one.
TDesktop* SetDesktop(TDesktop* d);

}  // namespace zn
