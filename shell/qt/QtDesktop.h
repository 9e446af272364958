// The desktop port on Qt Widgets: the modal boxes, the file save dialog, the cursor and the platform
// services the logic asks for through zn::Desktop(). Every text crosses here from cp1250 to Qt and
// back; nothing else in the program talks to these widgets.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "game/Desktop.h"

namespace zn {

class TQtDesktop : public TDesktop {
 public:
  TQtDesktop() = default;
  ~TQtDesktop() override;  // takes back the hourglass it set
  TQtDesktop(const TQtDesktop&) = delete;
  TQtDesktop& operator=(const TQtDesktop&) = delete;

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  bool AskYesNo(const std::string& question, const std::string& caption) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<std::string> SaveFileName(const std::string& title, const std::string& folder,
                                          const std::string& fileName, const std::string& filter) override;
  std::optional<std::string> OpenFileName(const std::string& title, const std::string& filter) override;
  std::string DataFolder() override;
  void Beep() override;
  void SetCursor(TCursor cursor) override;
  TCursor Cursor() const override;
  void ProcessPendingEvents() override;
  std::int64_t NowMs() const override;
  std::int64_t SteadyMs() const override;
  bool StartProcess(const std::string& commandLine) override;
  bool OpenUrl(const std::string& url) override;

  // The caption of the program's plain and error boxes.
  static const QString kCaption;

  // A filter of description and pattern pairs separated by "|" ("Szöveges állományok (*.txt)|*.txt|
  // Minden (*.*)|*.*", cp1250) as the file dialog takes it: "desc (patterns)" joined by ";;". A
  // description that already names its patterns in parentheses is kept as it is.
  static QString DialogFilter(std::string_view filter);
  // The extension added to a typed name without one: that of the filter's first pattern ("txt"
  // for "*.txt"); empty when that pattern has no fixed extension.
  static QString DefaultSuffix(std::string_view filter);

 private:
  bool hourglass_ = false;  // our one override cursor is pushed
};

}  // namespace zn
