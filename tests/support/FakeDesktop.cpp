#include "tests/support/FakeDesktop.h"

#include <utility>

namespace zn::test {

void FakeDesktop::Note(std::string entry) {
  if (Keep) Log.push_back(std::move(entry));
}

std::int64_t FakeDesktop::NowMs() const {
  const std::int64_t now = Clock;
  Clock += ClockStep;
  return now;
}

void FakeDesktop::ShowMessage(const std::string& text) {
  ++Boxes;
  if (Keep) {
    Messages.push_back(text);
    Log.push_back("message:" + text);
  }
  if (auto hook = std::exchange(InsideBox, nullptr)) hook();
}

void FakeDesktop::ShowError(const std::string& text) {
  ++Boxes;
  if (Keep) {
    Errors.push_back(text);
    Log.push_back("error:" + text);
  }
}

bool FakeDesktop::AskYesNo(const std::string& question, const std::string& caption) {
  ++Boxes;
  if (Keep) {
    Questions.push_back(question);
    Log.push_back("ask:" + caption + ":" + question);
  }
  if (YesNoAnswers.empty()) return true;
  const bool answer = YesNoAnswers.front();
  YesNoAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeDesktop::InputBox(const std::string& caption, const std::string& prompt,
                                                 const std::string& initial) {
  ++Boxes;
  Note("input:" + caption + ":" + prompt + ":" + initial);
  if (auto hook = std::exchange(InsideInput, nullptr)) hook();
  if (InputAnswers.empty()) return std::nullopt;
  auto answer = InputAnswers.front();
  InputAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeDesktop::SaveFileName(const std::string& title, const std::string& folder,
                                                     const std::string& fileName, const std::string& filter) {
  ++Boxes;
  Note("save:" + title + ":" + folder + ":" + fileName + ":" + filter);
  if (SaveAnswers.empty()) return std::nullopt;
  auto answer = SaveAnswers.front();
  SaveAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeDesktop::OpenFileName(const std::string& title, const std::string& filter) {
  ++Boxes;
  Note("open:" + title + ":" + filter);
  if (OpenAnswers.empty()) return std::nullopt;
  auto answer = OpenAnswers.front();
  OpenAnswers.pop_front();
  return answer;
}

void FakeDesktop::Beep() {
  ++Beeps;
  Note("beep");
}

void FakeDesktop::ProcessPendingEvents() {
  ++PendingEventRuns;
  if (PendingHooks) {
    auto hooks = std::move(*PendingHooks);
    PendingHooks->clear();
    for (auto& h : hooks) h();
  }
}

bool FakeDesktop::StartProcess(const std::string& commandLine) {
  Note("start:" + commandLine);
  if (Keep) Started.push_back(commandLine);
  return StartProcessResult;
}

bool FakeDesktop::OpenUrl(const std::string& url) {
  Note("url:" + url);
  if (Keep) Started.push_back(url);
  return StartProcessResult;
}

}  // namespace zn::test
