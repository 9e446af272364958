// A kept deal's row fields, alike in every backend: the dealt cards as a 42-byte map (byte c-1: the
// seat dealt card c, 0 for a card out), the cards played one byte each in playing order (the
// leaders follow from the rules), the bids one line per set: the seat, then every bid after a tab.
#pragma once

#include <string>

#include "dealrecord/DealRecord.h"

namespace zn::server {

std::string HandsBlob(const dealrecord::DealRecord& r);
std::string BidsText(const dealrecord::DealRecord& r);
std::string CardsBlob(const dealrecord::DealRecord& r);
// The row's fields back into r (its dealer set); false when they do not make a deal.
bool ReadFields(const std::string& hands, const std::string& bids, const std::string& cards,
                dealrecord::DealRecord& r);
// The rules the open format's reader holds a deal to (each card played from the hand that held it,
// the suit followed, the bids in turn): a kept deal that breaks one would be exported as a file no
// reader takes. The reason, or empty when the deal keeps them.
std::string BrokenRule(const dealrecord::DealRecord& r);

}  // namespace zn::server
