// TInfo: the personal-data window. It holds the member's stored profile (Zn.INI, read and written
// through the club port), edits it, shows a robot's or another member's profile, and answers other
// members' introduction requests by itself.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zn {

class TClubPort;

// The longest nickname the club gives out: an inquiry from a longer "asker" is not answered.
inline constexpr std::size_t kMaxNicknameBytes = 20;

class TInfo {
 public:
  enum class Aspect { Visible, Fields, Look };
  std::function<void(Aspect)> Changed;

  // FormCreate: fdName := Nickname; the stored profile ("Personal": Real, Work, Info, Bid) is read.
  explicit TInfo(TClubPort& club);

  // The held profile, as stored; Info and Bid line-joined ("abc~de~").
  std::string Real, Work, Info, Bid;

  bool Visible = false;
  // The own profile: fields in the window colour and "OK" shown; otherwise read-only look.
  bool OwnProfile = false;
  // The fields; the view writes what the user types into them.
  std::string fdName, fdReal, fdWork;
  std::vector<std::string> fdInfo, fdBid;

  // Opens the profile of nickname: the own one, a robot's, or asks the server ("Q").
  void ShowProfile(const std::string& nickname);
  // "OK": checks the fields, stores the own profile and hides the window.
  void cmSaveClick();
  // "Mégsem": hides the window; nothing is stored.
  void cmCancelClick() { Hide(); }
  // The incoming "Q" line: answers with "W" at once and notes the inquiry in the message area;
  // an asker longer than a nickname can be gets neither (the answer would echo it back).
  void AnswerInquiry(const std::string& line);
  // The incoming "W" line: shows the profile it carries, always read-only.
  void ReceiveProfile(const std::string& line);
  // Puts the two one-line values and the two line-joined texts, cut into lines, into the fields.
  void FillFields(const std::string& real, const std::string& work, const std::string& bid,
                  const std::string& info);
  // FormHide: hides the window; the club window lets introduction requests through again.
  void Hide();

  // "abc~de~" -> "abc", "de"; text after the last "~" is one more line.
  static std::vector<std::string> SplitJoined(const std::string& text);
  // "abc", "de" -> "abc~de~": every line followed by "~".
  static std::string JoinLines(const std::vector<std::string>& lines);

 private:
  TClubPort& club_;
  void Show();
  void SetLook(bool own);
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
};

}  // namespace zn
