// The secret of a claimed nickname as the code a member copies to another computer (the proofs
// are checked by the server's claims tests).
#include <gtest/gtest.h>

#include "link/ClaimProof.h"

namespace zn::claim {
namespace {

TEST(ClaimCode, ReadsBackWhatItShowsAndRefusesWhatIsNotOne) {
  const TSecret secret = NewSecret();
  const std::string code = SecretCode(secret);
  ASSERT_EQ(code.size(), kCodeChars + kCodeChars / 4 - 1);  // groups of four, one space between
  std::string typed = code;
  for (char& c : typed)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  std::string noSpaces = code;
  std::erase(noSpaces, ' ');
  for (const std::string& text : {code, typed, noSpaces, " " + code + " "})
    EXPECT_EQ(ParseSecretCode(text), secret) << text;

  std::string oneWrong = noSpaces;
  oneWrong[10] = oneWrong[10] == 'Z' ? 'Y' : 'Z';
  for (const std::string& bad :
       {std::string(), noSpaces.substr(1), noSpaces + "0", oneWrong, noSpaces.substr(1) + "U"})
    EXPECT_FALSE(ParseSecretCode(bad)) << bad;
  // Letters that look alike read as the digits.
  const std::string zeros = SecretCode(TSecret{});
  std::string looks = zeros;
  for (char& c : looks)
    if (c == '0') c = 'O';
  EXPECT_EQ(ParseSecretCode(looks), TSecret{});
}

}  // namespace
}  // namespace zn::claim
