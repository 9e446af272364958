// The fixed vocabulary of the bid catalogue: group captions, the entries of the fixed groups with
// their explanations, the prefix words and the words of the hand signals. All texts are cp1250.
#pragma once

#include <span>
#include <string_view>

#include "game/Cp1250.h"

namespace zn {

// The no-break space (byte 0xA0) that joins the words of a bid name.
inline constexpr std::string_view kBidJoiner = "\u00A0"_cp;

inline constexpr int kBidGroupCount = 10;
inline constexpr int kSignalGroup = 0;    // "Jelzések": computed from the own hand
inline constexpr int kKontraGroup = 8;    // "* Kontra"
inline constexpr int kRekontraGroup = 9;  // "** Rekontra"

inline constexpr int kPrefixCount = 8;
inline constexpr int kFirstSuitPrefix = 4;  // prefix words 4-7 are the suits Treff, Káró, Kőr, Pikk

// Which prefix word an entry takes in front of it.
enum class TPrefixKind {
  None,     // the entry is a bid name as it stands
  AnyWord,  // a magasító: any text of the prefix box (the eight words when checked strictly)
  SuitWord  // "banda", "mariage": one of the four suit words
};

struct TBidEntry {
  std::string_view Text;  // as shown in the entry list; a suffix name starts with 0xA0
  std::string_view Explanation;
  TPrefixKind Prefix = TPrefixKind::None;
};

// The caption of a group, or empty outside 0..9.
std::string_view BidGroupCaption(int group);
// The fixed entries of groups 1-7 in display order; empty for groups 0, 8, 9 and outside 0..9.
std::span<const TBidEntry> FixedBidEntries(int group);
// Prefix word 0..7 ("Pagát" .. "Pikk"), or empty outside.
std::string_view PrefixWord(int index);

// Hand signal words and the explanations of the computed groups.
inline constexpr std::string_view kTarokkWord = "Tarokk"_cp;
inline constexpr std::string_view kFlushSignal = "Flush"_cp;
inline constexpr std::string_view kMatadorSignal = "Matador"_cp;
inline constexpr std::string_view kVannakSignal = "Vannak"_cp;
inline constexpr std::string_view kMatadorExplanation =
    "Matador a kézben (Pagát I, sas II, kakadu III vagy kanári IIII)"_cp;
inline constexpr std::string_view kVannakExplanation = "Négy azonos figura"_cp;
inline constexpr std::string_view kFlushExplanation = "Egy színből az összes lap"_cp;
inline constexpr std::string_view kCountExplanation = "Elosztás közlés"_cp;
inline constexpr std::string_view kContestExplanation = "A bemondás teljesítésének kétségbevonása"_cp;

// The refusals of composing a bid.
inline constexpr std::string_view kBadSuitChoice = "Hibás színválasztás"_cp;
inline constexpr std::string_view kBadBid = "Hibás licit"_cp;

}  // namespace zn
