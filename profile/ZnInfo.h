// TInfo: the personal-data window. This holds the stored profile and the three operations the club
// window calls; editing and storing the own profile come with the full window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zn {

class TClubPort;

class TInfo {
 public:
  enum class Aspect { Visible, Fields };
  std::function<void(Aspect)> Changed;

  // Reads the stored profile ("Personal": Real, Work, Info, Bid) from the settings file.
  explicit TInfo(TClubPort& club);

  // The held profile, as stored; Info and Bid line-joined ("abc~de~").
  std::string Real, Work, Info, Bid;

  bool Visible = false;
  bool OwnProfile = false;  // fields editable and "OK" shown
  std::string fdName, fdReal, fdWork;
  std::vector<std::string> fdInfo, fdBid;

  // Opens the profile of nickname: the own one, a robot's, or asks the server ("Q").
  void ShowProfile(const std::string& nickname);
  // The incoming "Q" line: answers with "W" and notes the inquiry in the message area.
  void AnswerInquiry(const std::string& line);
  // The incoming "W" line: shows the profile it carries.
  void ReceiveProfile(const std::string& line);
  // Hides the window (the club window lets introduction requests through again).
  void Hide();

  // "abc~de~" -> "abc", "de"; text after the last "~" is one more line.
  static std::vector<std::string> SplitJoined(const std::string& text);

 private:
  TClubPort& club_;
  void FillFields(const std::string& real, const std::string& work, const std::string& bid,
                  const std::string& info);
  void Show();
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
};

}  // namespace zn
