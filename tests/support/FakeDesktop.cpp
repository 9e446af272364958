#include "tests/support/FakeDesktop.h"

#include <utility>

namespace zn::test {

void FakeDesktop::ShowMessage(const std::string& text) {
  Messages.push_back(text);
  Log.push_back("message:" + text);
  if (auto hook = std::exchange(InsideBox, nullptr)) hook();
}

void FakeDesktop::ShowError(const std::string& text) {
  Errors.push_back(text);
  Log.push_back("error:" + text);
}

bool FakeDesktop::AskYesNo(const std::string& question, const std::string& caption) {
  Questions.push_back(question);
  Log.push_back("ask:" + caption + ":" + question);
  if (YesNoAnswers.empty()) return true;
  const bool answer = YesNoAnswers.front();
  YesNoAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeDesktop::InputBox(const std::string& caption, const std::string& prompt,
                                                 const std::string& initial) {
  Log.push_back("input:" + caption + ":" + prompt + ":" + initial);
  if (InputAnswers.empty()) return std::nullopt;
  auto answer = InputAnswers.front();
  InputAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeDesktop::SaveFileName(const std::string& title, const std::string& folder,
                                                     const std::string& fileName, const std::string& filter) {
  Log.push_back("save:" + title + ":" + folder + ":" + fileName + ":" + filter);
  if (SaveAnswers.empty()) return std::nullopt;
  auto answer = SaveAnswers.front();
  SaveAnswers.pop_front();
  return answer;
}

void FakeDesktop::Beep() {
  ++Beeps;
  Log.push_back("beep");
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
  Log.push_back("start:" + commandLine);
  Started.push_back(commandLine);
  return StartProcessResult;
}

bool FakeDesktop::OpenUrl(const std::string& url) {
  Log.push_back("url:" + url);
  Started.push_back(url);
  return StartProcessResult;
}

}  // namespace zn::test
