// The club's texts (the version is proto::kVersion): the lobby's name, robots' names and every notice
// (cp1250).
#pragma once

#include <string_view>

#include "game/Cp1250.h"
#include "link/ClaimProof.h"
#include "link/NameRule.h"

namespace zn::server::text {

using namespace zn::literals;

inline constexpr std::string_view kLobbyName = "Társalgó"_cp;
inline constexpr std::string_view kRobotPrefix = "-Robot";
// What the "I" line shows in the place of a room that was freed.
inline constexpr std::string_view kGoneRoom = "(megszűnt)"_cp;
inline constexpr std::string_view kDefaultNews = "Üdvözlünk a Zenit Tarokk Klubban!"_cp;

// Notices are "M" lines beginning with this.
inline constexpr std::string_view kNotice = " >>>>> ";

inline constexpr std::string_view kBadNickname = proto::kBadNicknameText;
inline constexpr std::string_view kDuplicateRoom = "Ilyen nevű terem már van"_cp;
inline constexpr std::string_view kBadRoomName = "Ez a teremnév nem használható: "_cp;
inline constexpr std::string_view kTooManyRooms = "Több terem nem nyitható"_cp;
inline constexpr std::string_view kUnknownRoom = "Nincs ilyen terem"_cp;
inline constexpr std::string_view kClubFull = "A klub megtelt, próbáld később!"_cp;
inline constexpr std::string_view kTooManyFromAddress = "Erről a címről túl sok kapcsolat van nyitva"_cp;
inline constexpr std::string_view kConnectsPerMinute =
    "Erről a címről túl sok új kapcsolat jött, próbáld újra egy perc múlva"_cp;
inline constexpr std::string_view kIdle = "Egy órája nem küldtél semmit, a kapcsolat megszakad"_cp;
inline constexpr std::string_view kLoginTimeout = "Nem jelentkeztél be időben, a kapcsolat megszakad"_cp;
inline constexpr std::string_view kRoomsPerHour = "Egy órán belül több termet nem nyithatsz"_cp;
inline constexpr std::string_view kTooLong = "Túl hosszú parancs, nem hajtható végre"_cp;
inline constexpr std::string_view kTooFast = "Túl sok parancs, a kapcsolat megszakad"_cp;
inline constexpr std::string_view kNotReading =
    "Túl sok olvasatlan sor gyűlt össze, a kapcsolat megszakad"_cp;
inline constexpr std::string_view kBadCommand = "Hibás parancs"_cp;
inline constexpr std::string_view kNotInRoom = "Előbb lépj be egy terembe"_cp;
inline constexpr std::string_view kNoSuchSeat = "Nincs ilyen hely"_cp;
inline constexpr std::string_view kSeatTaken = "Ez a hely foglalt"_cp;
inline constexpr std::string_view kStandFirst = "Előbb állj fel, ha át akarsz ülni!"_cp;
inline constexpr std::string_view kSitFirst = "Előbb ülj le, ha fel akarsz állni!"_cp;
inline constexpr std::string_view kStandToWatch = "Előbb állj fel, ha kibicelni akarsz!"_cp;
inline constexpr std::string_view kOpenerOnly = "Ezt csak az induló helyén ülő teheti"_cp;
inline constexpr std::string_view kAllSeats = "Minden helyen ülnie kell valakinek"_cp;
inline constexpr std::string_view kNoDeals = "Ezen a szerveren még nem lehet osztani"_cp;
inline constexpr std::string_view kNotStored = "A változás nem menthető, elmaradt"_cp;
inline constexpr std::string_view kOwnNameOnly = "Csak a saját nevedben kérhetsz bemutatást"_cp;
inline constexpr std::string_view kNotOnline = "Nincs a klubban: "_cp;
inline constexpr std::string_view kInquiryWait = "Várj egy kicsit a következő bemutatás kérésével"_cp;
inline constexpr std::string_view kBadBid = "Hibás licit: "_cp;
inline constexpr std::string_view kBadCard = "Ezt a lapot most nem teheted"_cp;
inline constexpr std::string_view kNoResult = "Nincs felírható eredmény"_cp;
inline constexpr std::string_view kResultWritten = "Ennek az osztásnak az eredménye már fel van írva"_cp;
// Claimed nicknames (server/club/ClubClaimGate.cpp).
inline constexpr std::string_view kClaimRefused = claim::kRefusedText;
inline constexpr std::string_view kClaimNeeded =
    "Ezen a szerveren csak igazolt becenévvel lehet belépni: frissítsd a klienst!"_cp;
inline constexpr std::string_view kClaimed = "Ez a becenév mostantól a tiéd"_cp;
inline constexpr std::string_view kClaimsUnavailable =
    "A becenevek most nem ellenőrizhetők, próbáld később!"_cp;
inline constexpr std::string_view kClaimsTooMany =
    "Erről a címről vagy hálózatról mostanában túl sok becenevet foglaltak le, próbáld később!"_cp;
inline constexpr std::string_view kNoChallenge = "Nincs megválaszolatlan névigazolás"_cp;
// Chat (server/club/ClubRelay.cpp); the longest length follows kChatTooLong.
inline constexpr std::string_view kChatTooLong =
    "Túl hosszú üzenet, nem ment el. Legfeljebb ennyi betű lehet: "_cp;
inline constexpr std::string_view kChatTooMuch =
    "Túl sokat írsz egyszerre, várj egy kicsit a következő üzenettel"_cp;
inline constexpr std::string_view kChatDropped =
    "Lassan érnek hozzád a sorok: amíg utol nem éred, nem kapod meg a beszélgetést"_cp;
inline constexpr std::string_view kNotAsked = "Ezt a bemutatást senki nem kérte"_cp;
// Continuity (server/club/ClubContinuity.cpp, server/deals/DealClock.cpp).
inline constexpr std::string_view kSeatHeld = "Ez a hely egy kiesett játékosra vár, aki még visszatérhet"_cp;
inline constexpr std::string_view kNicknameTried = "Valaki a beceneveddel próbál belépni"_cp;
inline constexpr std::string_view kReplaced =
    "Ezzel a becenévvel máshonnan beléptél, ez a kapcsolat megszakad"_cp;
// The number of seconds follows kTurnLimit, the nickname kTurnTimedOut.
inline constexpr std::string_view kTurnLimit = "Ebben az osztásban egy lépésre ennyi másodperc jut: "_cp;
inline constexpr std::string_view kTurnTimedOut = "Lejárt az ideje, helyette a robot lépett: "_cp;
inline constexpr std::string_view kStoodUp =
    "Kétszer egymás után nem léptél időben, ezért felállítottunk; a helyeden a robot játszik tovább"_cp;
// One seat's view per deal (server/deals/SeatLedger.h).
inline constexpr std::string_view kWatchedThisDeal =
    "Ezt az osztást kibicelted, csak a következőben ülhetsz le"_cp;
inline constexpr std::string_view kWatchedFromAddress =
    "Erről a címről kibicelték ezt az osztást, csak a következőben ülhetsz le"_cp;
inline constexpr std::string_view kOwnSeatOnly = "Ebben az osztásban csak a saját helyedre ülhetsz vissza"_cp;
inline constexpr std::string_view kSatThisDeal = "Ebben az osztásban ültél, a végéig nem kibicelheted"_cp;
inline constexpr std::string_view kSameAddress =
    "A címedről ül valaki az asztalnál, ezért az osztás végéig csak azt látod, amit mindenki"_cp;

}  // namespace zn::server::text
