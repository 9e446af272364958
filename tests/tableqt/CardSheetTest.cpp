#include <gtest/gtest.h>

#include <QBitmap>
#include <set>

#include "table/qt/CardSheet.h"

namespace zn {
namespace {

constexpr int kW = TCardSheet::kCardWidth;
constexpr int kH = TCardSheet::kCardHeight;

bool MaskBit(const QImage& mask, int x, int y) { return mask.pixelIndex(x, y) == 1; }

class CardSheetTest : public ::testing::Test {
 protected:
  TCardSheet& sheet = TCardSheet::Instance();
};

TEST_F(CardSheetTest, SheetAndMaskHaveTheCellGeometry) {
  ASSERT_TRUE(sheet.Loaded());
  EXPECT_EQ(sheet.Sheet().size(), QSize(456, 2244));
  EXPECT_EQ(sheet.Mask().size(), QSize(456, 2244));
  EXPECT_EQ(sheet.Sheet().format(), QImage::Format_RGB555);
}

TEST_F(CardSheetTest, EveryPictureHas136CornerPixelsMirroredIntoFourCorners) {
  const int runs[9] = {9, 7, 5, 4, 3, 2, 2, 1, 1};
  for (int code = 0; code < TCardSheet::kPictures; ++code) {
    const int left = (code % 4) * kW, top = (code / 4) * kH;
    int count = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) count += MaskBit(sheet.Mask(), left + x, top + y);
    EXPECT_EQ(count, 136) << "picture " << code;
    for (int row = 0; row < 9; ++row)
      for (int col = 0; col < 10; ++col) {
        const bool background = col < runs[row];
        EXPECT_EQ(MaskBit(sheet.Mask(), left + col, top + row), background)
            << code << " " << col << "," << row;
        EXPECT_EQ(MaskBit(sheet.Mask(), left + kW - 1 - col, top + kH - 1 - row), background) << code;
      }
  }
  // The 44th cell stays empty and black.
  EXPECT_EQ(sheet.Sheet().pixelColor(3 * kW + 50, 10 * kH + 100), QColor(Qt::black));
  EXPECT_FALSE(MaskBit(sheet.Mask(), 3 * kW, 10 * kH));
}

TEST_F(CardSheetTest, CardPictureDrawsSilverCornersAndTheGreenPlaceholder) {
  QImage work;
  for (int code : {0, 1, 42, 99, -1}) {
    sheet.CardPicture(code, work);
    ASSERT_EQ(work.size(), QSize(kW, kH));
    EXPECT_EQ(work.pixel(0, 0), TCardSheet::kSilver) << code;
    EXPECT_EQ(work.pixel(8, 0), TCardSheet::kSilver) << code;
    EXPECT_NE(work.pixel(9, 0), TCardSheet::kSilver) << code;
    EXPECT_EQ(work.pixel(0, kH - 1), TCardSheet::kSilver) << code;
  }
  sheet.CardPicture(0, work);
  EXPECT_EQ(work.pixelColor(57, 102), QColor(0, 255, 0));
  EXPECT_EQ(work.pixelColor(57, 0), QColor(Qt::black));  // the one-pixel frame
  EXPECT_EQ(work.pixelColor(57, 1), QColor(0, 255, 0));
  QImage other;
  sheet.CardPicture(99, other);  // no such card: the placeholder
  EXPECT_EQ(other, work);
}

// The red frame of a played card runs from (8,7) to (106,197), both corners included.
TEST_F(CardSheetTest, FrameOfAPlayedCardCoversItsCornersAndNoMore) {
  const QImage framed = sheet.FramedPicture(0).toImage();
  QRect red;
  for (int y = 0; y < framed.height(); ++y)
    for (int x = 0; x < framed.width(); ++x)
      if (framed.pixelColor(x, y) == QColor(Qt::red)) red |= QRect(x, y, 1, 1);
  EXPECT_EQ(red, QRect(QPoint(8, 7), QPoint(106, 197)));
}

TEST_F(CardSheetTest, CellsHoldFortyTwoDifferentCardsAndNoCardPixelIsSilver) {
  std::set<QByteArray> seen;
  QImage work;
  for (int code = 1; code < TCardSheet::kPictures; ++code) {
    sheet.CardPicture(code, work);
    EXPECT_NE(work.pixelColor(57, 102), QColor(0, 255, 0)) << code;
    int silver = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) silver += work.pixel(x, y) == TCardSheet::kSilver;
    EXPECT_EQ(silver, 136) << code;  // the colour key makes exactly the corners transparent
    seen.insert(
        QByteArray(reinterpret_cast<const char*>(work.constBits()), static_cast<int>(work.sizeInBytes())));
  }
  EXPECT_EQ(seen.size(), 42u);
}

TEST_F(CardSheetTest, PictureIsTransparentInTheCornersOnly) {
  const QImage shown = sheet.Picture(21).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(8, 0)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(9, 0)), 255);
  EXPECT_EQ(qAlpha(shown.pixel(113, 203)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(57, 102)), 255);
  // One pixmap per code, shared by every control.
  EXPECT_EQ(sheet.Picture(21).cacheKey(), sheet.Picture(21).cacheKey());
}

}  // namespace
}  // namespace zn
