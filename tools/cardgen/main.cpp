// cardgen: draws the card sheet (43 pictures of 114 by 204 in 4 columns and 11 rows), its one-bit
// corner mask, the room page's table picture and the lobby's small picture. Run by hand; its
// output is committed under resources/:  cardgen <resources folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

#include "CardArt.h"

namespace {

using namespace cardgen;

constexpr int kColumns = 4;
constexpr int kRows = 11;
constexpr int kPictures = 43;
// Background pixels of a corner, row by row from the nearest horizontal edge.
constexpr int kCornerRun[9] = {9, 7, 5, 4, 3, 2, 2, 1, 1};
const QColor kSilver(192, 192, 192);

bool IsCorner(int x, int y) {
  const int row = std::min(y, kCardH - 1 - y);
  const int col = std::min(x, kCardW - 1 - x);
  return row < 9 && col < kCornerRun[row];
}

void DrawPlaceholder(QPainter& p) { p.fillRect(QRect(0, 0, kCardW, kCardH), QColor(0, 255, 0)); }

QImage DrawPicture(int code) {
  QImage card(kCardW, kCardH, QImage::Format_RGB32);
  card.fill(kPaper);
  {
    QPainter p(&card);
    if (code == 0) {
      DrawPlaceholder(p);
    } else if (code <= 20) {
      const auto suit = static_cast<Suit>((code - 1) / 5);
      const int rank = (code - 1) % 5;  // T/A, B, L, D, K
      if (rank == 0 && IsRed(suit))
        DrawAce(p, suit);
      else if (rank == 0)
        DrawTen(p, suit);
      else
        DrawCourt(p, suit, rank - 1);
    } else if (code <= 41) {
      DrawTarokk(p, code - 20);
    } else {
      DrawSkiz(p);
    }
  }
  for (int y = 0; y < kCardH; ++y)
    for (int x = 0; x < kCardW; ++x)
      if (IsCorner(x, y)) card.setPixelColor(x, y, kSilver);
  if (code == 0) {
    // The placeholder's one-pixel black frame follows the rounded shape.
    QImage framed = card;
    for (int y = 0; y < kCardH; ++y)
      for (int x = 0; x < kCardW; ++x) {
        if (IsCorner(x, y)) continue;
        const bool edge = x == 0 || y == 0 || x == kCardW - 1 || y == kCardH - 1 || IsCorner(x - 1, y) ||
                          IsCorner(x + 1, y) || IsCorner(x, y - 1) || IsCorner(x, y + 1);
        if (edge) framed.setPixelColor(x, y, Qt::black);
      }
    card = framed;
  }
  return card;
}

QImage DrawRoom() {
  QImage img(102, 49, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient wood(QPointF(0, 0), QPointF(0, 49));
  wood.setColorAt(0, QColor(150, 96, 50));
  wood.setColorAt(1, QColor(92, 56, 28));
  p.setPen(QPen(QColor(60, 36, 16), 1));
  p.setBrush(wood);
  p.drawRoundedRect(QRectF(0.5, 0.5, 101, 48), 14, 14);
  QRadialGradient felt(QPointF(51, 24), 50);
  felt.setColorAt(0, QColor(46, 150, 84));
  felt.setColorAt(1, QColor(20, 96, 50));
  p.setBrush(felt);
  p.setPen(QPen(QColor(230, 200, 120), 0.8));
  p.drawRoundedRect(QRectF(5, 5, 92, 39), 10, 10);
  // Four cards played into the middle, one from each side.
  const QPointF at[4] = {QPointF(51, 31), QPointF(64, 24), QPointF(51, 17), QPointF(38, 24)};
  const double turn[4] = {4, 80, -6, 100};
  for (int i = 0; i < 4; ++i) {
    p.save();
    p.translate(at[i]);
    p.rotate(turn[i]);
    p.setPen(QPen(QColor(80, 80, 80), 0.6));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(-4.5, -7, 9, 14), 1.5, 1.5);
    p.setBrush(i % 2 == 0 ? kRed : kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 0), 2, 2);
    p.restore();
  }
  return img;
}

QImage DrawLobby() {
  QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // A fan of three cards: a heart, a tarokk and a spade.
  const double turn[3] = {-22, 0, 22};
  for (int i = 0; i < 3; ++i) {
    p.save();
    p.translate(16, 28);
    p.rotate(turn[i]);
    p.setPen(QPen(QColor(70, 60, 50), 0.8));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(-6.5, -25, 13, 22), 2, 2);
    if (i == 1) {
      p.setPen(kInk);
      QFont f(QStringLiteral("DejaVu Serif"));
      f.setPixelSize(8);
      f.setBold(true);
      p.setFont(f);
      p.drawText(QRectF(-6.5, -23, 13, 10), Qt::AlignCenter, QStringLiteral("XXI"));
      p.setBrush(kGold);
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(0, -9), 2.5, 2.5);
    } else {
      DrawSuitSign(p, i == 0 ? Suit::Kor : Suit::Pikk, QPointF(0, -14), 8);
    }
    p.restore();
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources"));
  QImage sheet(kColumns * kCardW, kRows * kCardH, QImage::Format_RGB32);
  sheet.fill(Qt::black);
  QImage mask(sheet.size(), QImage::Format_Mono);
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mask.fill(0);
  {
    QPainter p(&sheet);
    for (int code = 0; code < kPictures; ++code) {
      const QPoint cell((code % kColumns) * kCardW, (code / kColumns) * kCardH);
      p.drawImage(cell, DrawPicture(code));
      for (int y = 0; y < kCardH; ++y)
        for (int x = 0; x < kCardW; ++x)
          if (IsCorner(x, y)) mask.setPixel(cell.x() + x, cell.y() + y, 1);
    }
  }
  // 15-bit colour: five bits a channel, as the sheet is stored and drawn.
  sheet = sheet.convertToFormat(QImage::Format_RGB555).convertToFormat(QImage::Format_RGB32);
  bool ok = sheet.save(out.filePath(QStringLiteral("cards.png")));
  ok = mask.save(out.filePath(QStringLiteral("cards-mask.png"))) && ok;
  ok = DrawRoom().save(out.filePath(QStringLiteral("room.png"))) && ok;
  ok = DrawLobby().save(out.filePath(QStringLiteral("lobby.png"))) && ok;
  if (!ok) std::fprintf(stderr, "cardgen: could not write into %s\n", qPrintable(out.absolutePath()));
  return ok ? 0 : 1;
}
