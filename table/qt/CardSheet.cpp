#include "table/qt/CardSheet.h"

#include <QBitmap>
#include <QPainter>

static void InitTableResources() { Q_INIT_RESOURCE(resources); }

namespace zn {

namespace {

void InitOnce() {
  static const bool done = [] {
    InitTableResources();
    return true;
  }();
  (void)done;
}

}  // namespace

QPixmap RoomPicture() {
  InitOnce();
  return QPixmap(QStringLiteral(":/zn/room.png"));
}

QPixmap LobbyPicture() {
  InitOnce();
  return QPixmap(QStringLiteral(":/zn/lobby.png"));
}

TCardSheet& TCardSheet::Instance() {
  static TCardSheet* sheet = [] {
    InitOnce();
    return new TCardSheet(QStringLiteral(":/zn/cards.png"), QStringLiteral(":/zn/cards-mask.png"));
  }();
  return *sheet;
}

TCardSheet::TCardSheet(const QString& sheetPath, const QString& maskPath) {
  // Kept in 15-bit colour as stored: half the memory of a 32-bit sheet.
  sheet_ = QImage(sheetPath).convertToFormat(QImage::Format_RGB555);
  // Bit 1 (white) marks a background pixel, whatever palette order the file has.
  mask_ =
      QImage(maskPath).convertToFormat(QImage::Format_Mono, QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)});
}

void TCardSheet::CardPicture(int code, QImage& work) const {
  if (work.size() != QSize(kCardWidth, kCardHeight) || work.format() != QImage::Format_RGB32)
    work = QImage(kCardWidth, kCardHeight, QImage::Format_RGB32);
  if (code < 0 || code >= kPictures) code = 0;
  if (!Loaded()) {
    work.fill(QColor(0, 255, 0));
    return;
  }
  const int left = (code % kColumns) * kCardWidth;
  const int top = (code / kColumns) * kCardHeight;
  for (int y = 0; y < kCardHeight; ++y) {
    auto* out = reinterpret_cast<QRgb*>(work.scanLine(y));
    const auto* in = reinterpret_cast<const quint16*>(sheet_.constScanLine(top + y)) + left;
    const uchar* bits = mask_.constScanLine(top + y);
    for (int x = 0; x < kCardWidth; ++x) {
      const int mx = left + x;
      const bool background = (bits[mx >> 3] >> (7 - (mx & 7))) & 1;
      if (background) {
        out[x] = kSilver;
      } else {
        // Five bits a channel, widened as the display does (so no card pixel is exactly silver).
        const quint16 v = in[x];
        const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        out[x] = qRgb((r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
      }
    }
  }
}

const QPixmap& TCardSheet::Picture(int code) {
  if (code < 0 || code >= kPictures) code = 0;
  QPixmap& picture = pictures_[static_cast<std::size_t>(code)];
  if (picture.isNull()) {
    CardPicture(code, work_);
    picture = QPixmap::fromImage(work_);
    const QRgb key = work_.pixel(0, kCardHeight - 1);
    picture.setMask(QBitmap::fromImage(work_.createMaskFromColor(key, Qt::MaskInColor)));
  }
  return picture;
}

QPixmap TCardSheet::FramedPicture(int code) {
  QPixmap framed = Picture(code).copy();
  QPainter p(&framed);
  p.setPen(QPen(Qt::red, 1));
  // drawRect with a one-pixel pen covers width + 1 pixels: the frame's last pixels are 106 and 197.
  p.drawRect(QRect(QPoint(8, 7), QPoint(106, 197)).adjusted(0, 0, -1, -1));
  return framed;
}

}  // namespace zn
