#include <gtest/gtest.h>

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringDecoder>

#include "game/Cp1250.h"
#include "game/qt/Cp1250Codec.h"

namespace zn {
namespace {

using namespace zn::literals;

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

class EveryByte : public ::testing::TestWithParam<int> {};

TEST_P(EveryByte, DecodesToItsCharacterAndBack) {
  const int b = GetParam();
  const QString text = ToQt(Byte(b));
  ASSERT_EQ(text.size(), 1);
  EXPECT_EQ(text[0].unicode(), kCp1250ToUnicode[static_cast<std::size_t>(b)]);
  EXPECT_EQ(FromQt(text), Byte(b));
}

// ToQt reads through its own table; Qt's ICU codec is the reference for every byte.
TEST_P(EveryByte, DecodesAsTheIcuCodecDoes) {
  const std::string byte = Byte(GetParam());
  QStringDecoder icu("windows-1250", QStringConverter::Flag::Stateless);
  const QString reference = icu.decode(QByteArrayView(byte.data(), 1));
  EXPECT_EQ(ToQt(byte), reference) << "byte " << GetParam();
}

// Our case fold must agree with Unicode's: the fold of each byte is the byte of its character's
// folded (and lower-case) form, or the byte itself when that form has no cp1250 byte.
TEST_P(EveryByte, FoldAgreesWithUnicodeCaseFolding) {
  const int b = GetParam();
  const QChar c(kCp1250ToUnicode[static_cast<std::size_t>(b)]);
  for (const QChar folded : {c.toCaseFolded(), c.toLower()}) {
    std::string encoded = FromQt(QString(folded));
    if (encoded == "?" && folded != QChar('?')) encoded = Byte(b);
    ASSERT_EQ(encoded.size(), 1u);
    EXPECT_EQ(kCp1250Fold[static_cast<std::size_t>(b)], static_cast<unsigned char>(encoded[0]))
        << "byte " << b << " U+" << std::hex << int{c.unicode()};
  }
}

INSTANTIATE_TEST_SUITE_P(Cp1250, EveryByte, ::testing::Range(0, 256));

TEST(Cp1250Codec, AllBytesInOneTextRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += Byte(b);
  const QString text = ToQt(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(FromQt(text), all);
  EXPECT_TRUE(ToQt("").isEmpty());
}

struct Unencodable {
  const char* utf8;
  std::string_view cp1250;
};

class FromQtReplaces : public ::testing::TestWithParam<Unencodable> {};

TEST_P(FromQtReplaces, CharactersWithoutAByteBecomeOneQuestionMark) {
  EXPECT_EQ(FromQt(QString::fromUtf8(GetParam().utf8)), GetParam().cp1250);
}

INSTANTIATE_TEST_SUITE_P(Texts, FromQtReplaces,
                         ::testing::Values(Unencodable{"\xE4\xB8\xAD", "?"}, Unencodable{"K\xC3\xB5r", "K?r"},
                                           Unencodable{"a\xF0\x9F\x98\x80"
                                                       "b",
                                                       "a?b"},
                                           Unencodable{"\x1A\xE4\xB8\xAD\x1A", "\x1A?\x1A"},
                                           Unencodable{"ok?", "ok?"}, Unencodable{"", ""},
                                           Unencodable{"\xC5\x91\xE2\x82\xAC\xC2\xA0", "\xF5\x80\xA0"}));

TEST(Cp1250Codec, ANulByteIsKept) {
  const std::string_view bytes("a\0b", 3);
  const QString text = ToQt(bytes);
  EXPECT_EQ(text.size(), 3);
  EXPECT_EQ(FromQt(text), bytes);
}

template <detail::Utf8Literal L>
void ExpectLiteralMatchesQt() {
  EXPECT_EQ(literals::operator""_cp<L>(), FromQt(QString::fromUtf8(L.text))) << L.text;
}

TEST(Cp1250Literal, EqualsQtsEncodingOfTheSameText) {
  ExpectLiteralMatchesQt<"Jóváhagyás">();
  ExpectLiteralMatchesQt<"Káró A">();
  ExpectLiteralMatchesQt<"Kőr A">();
  ExpectLiteralMatchesQt<" Skíz ">();
  ExpectLiteralMatchesQt<"Pikk\u00A0ulti">();
  ExpectLiteralMatchesQt<"ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP árvíztűrő tükörfúrógép">();
  ExpectLiteralMatchesQt<"€‚„…†‡‰Š‹ŚŤŽŹ‘’“”•–—™š›śťžź ˇ˘Ł¤Ą¦§¨©Ş«¬­®Ż°±˛ł´µ¶·¸ąş»Ľ˝ľż">();
  ExpectLiteralMatchesQt<"ŔÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔÖ×ŘŮÚÜÝŢßŕâăäĺćçčéęëěíîďđńňóôö÷řůúüýţ˙">();
  ExpectLiteralMatchesQt<"">();
}

}  // namespace
}  // namespace zn
