// The card image set: 43 pictures of 114 by 204 in one sheet of 4 by 11 cells with a one-bit mask
// whose set bits mark the rounded corners. Loaded from the resources when the table window first
// shows, not at start-up.
#pragma once

#include <QImage>
#include <QPixmap>
#include <array>

namespace zn {

class TCardSheet {
 public:
  static constexpr int kCardWidth = 114;
  static constexpr int kCardHeight = 204;
  static constexpr int kColumns = 4;
  static constexpr int kRows = 11;
  static constexpr int kPictures = 43;
  static constexpr QRgb kSilver = 0xFFC0C0C0;

  // The one sheet of the program, loaded on the first call.
  static TCardSheet& Instance();
  // Loads a sheet and a mask (tests load the committed files through this too).
  TCardSheet(const QString& sheetPath, const QString& maskPath);

  bool Loaded() const { return !sheet_.isNull() && mask_.size() == sheet_.size(); }
  const QImage& Sheet() const { return sheet_; }
  const QImage& Mask() const { return mask_; }

  // Gives work the size of a picture and draws picture `code` into it, background pixels in silver.
  // A code outside 0..42 draws the placeholder.
  void CardPicture(int code, QImage& work) const;
  // The picture as a picture control shows it: the colour of its bottom-left pixel is transparent.
  // One pixmap per code, shared by every control that shows it.
  const QPixmap& Picture(int code);
  // The same with the red frame of a played own card from (8,7) to (106,197).
  QPixmap FramedPicture(int code);

 private:
  QImage sheet_;
  QImage mask_;
  QImage work_;  // the one work bitmap every draw goes through
  std::array<QPixmap, kPictures> pictures_;
};

// The room page's picture of the table (102 by 49) and the lobby's small picture (32 by 32), drawn
// with the cards; each is read from the resources when first asked for.
QPixmap RoomPicture();
QPixmap LobbyPicture();

}  // namespace zn
