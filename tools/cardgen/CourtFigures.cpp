// The court cards B, L, D, K and the Skíz: double-ended half-length figures.
#include <QFont>
#include <QPainterPath>
#include <cmath>

#include "CardArt.h"

namespace cardgen {

namespace {

constexpr double kMidY = kCardH / 2.0;

struct Palette {
  QColor robe, trim, hair;
};

Palette PaletteOf(Suit s) {
  switch (s) {
    case Suit::Treff:
      return {QColor(38, 110, 60), kGold, QColor(92, 60, 30)};
    case Suit::Karo:
      return {QColor(214, 140, 30), QColor(150, 30, 40), QColor(160, 110, 50)};
    case Suit::Kor:
      return {QColor(178, 32, 40), kGold, QColor(60, 40, 26)};
    case Suit::Pikk:
      return {QColor(32, 70, 150), kGold, QColor(30, 26, 24)};
  }
  return {};
}

void Face(QPainter& p, QPointF c, const QColor& hair, bool beard, bool longHair) {
  p.setPen(QPen(kInk, 0.9));
  if (longHair) {
    p.setBrush(hair);
    QPainterPath locks;
    locks.moveTo(c + QPointF(-14, -6));
    locks.cubicTo(c + QPointF(-22, 14), c + QPointF(-18, 26), c + QPointF(-10, 30));
    locks.lineTo(c + QPointF(10, 30));
    locks.cubicTo(c + QPointF(18, 26), c + QPointF(22, 14), c + QPointF(14, -6));
    locks.closeSubpath();
    p.drawPath(locks);
  }
  p.setBrush(kSkin);
  p.drawRect(QRectF(c.x() - 5, c.y() + 12, 10, 10));  // neck
  p.drawEllipse(c, 11.5, 14);
  // Hair over the brow.
  p.setBrush(hair);
  QPainterPath fringe;
  fringe.moveTo(c + QPointF(-12, -2));
  fringe.cubicTo(c + QPointF(-12, -16), c + QPointF(12, -16), c + QPointF(12, -2));
  fringe.cubicTo(c + QPointF(6, -9), c + QPointF(-6, -9), c + QPointF(-12, -2));
  p.drawPath(fringe);
  // Eyes, brows, nose, mouth.
  p.setBrush(kInk);
  p.drawEllipse(c + QPointF(-4.5, 0), 1.3, 1.1);
  p.drawEllipse(c + QPointF(4.5, 0), 1.3, 1.1);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - 7, c.y() - 4.5, 5, 3), 30 * 16, 120 * 16);
  p.drawArc(QRectF(c.x() + 2, c.y() - 4.5, 5, 3), 30 * 16, 120 * 16);
  p.drawLine(c + QPointF(0, 1), c + QPointF(-1.2, 6));
  p.setPen(QPen(QColor(170, 40, 50), 1.4));
  p.drawLine(c + QPointF(-2.5, 9), c + QPointF(2.5, 9));
  if (beard) {
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(hair.lighter(115));
    QPainterPath b;
    b.moveTo(c + QPointF(-11, 3));
    b.cubicTo(c + QPointF(-10, 22), c + QPointF(10, 22), c + QPointF(11, 3));
    b.cubicTo(c + QPointF(6, 13), c + QPointF(-6, 13), c + QPointF(-11, 3));
    p.drawPath(b);
  }
}

void Robe(QPainter& p, const Palette& pal, Suit s, bool ruff) {
  QPainterPath robe;
  robe.moveTo(24, 84);
  robe.cubicTo(30, 72, 84, 72, 90, 84);
  robe.lineTo(98, kMidY);
  robe.lineTo(16, kMidY);
  robe.closeSubpath();
  QLinearGradient g(QPointF(12, 74), QPointF(102, 100));
  g.setColorAt(0, pal.robe.lighter(130));
  g.setColorAt(1, pal.robe.darker(115));
  p.setPen(QPen(kInk, 1));
  p.setBrush(g);
  p.drawPath(robe);
  // Trim down the front and along the shoulders.
  p.setPen(QPen(pal.trim, 3));
  p.drawLine(QPointF(57, 76), QPointF(57, kMidY));
  p.setPen(QPen(pal.trim, 2, Qt::DotLine));
  p.drawLine(QPointF(27, 82), QPointF(21, kMidY));
  p.drawLine(QPointF(87, 82), QPointF(93, kMidY));
  if (ruff) {
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(Qt::white);
    for (int i = 0; i < 7; ++i) p.drawEllipse(QPointF(39 + i * 6, 76), 4, 3.2);
  }
  // The suit sign as a badge on the chest.
  p.setPen(QPen(pal.trim.darker(120), 1));
  p.setBrush(QColor(255, 252, 240));
  p.drawEllipse(QPointF(40, 93), 7, 7);
  DrawSuitSign(p, s, QPointF(40, 93), 9);
}

void Crown(QPainter& p, QPointF c, double w, int points, const QColor& gem) {
  QPainterPath crown;
  const double base = c.y(), top = c.y() - 13;
  crown.moveTo(c.x() - w / 2, base);
  for (int i = 0; i <= points * 2; ++i) {
    const double x = c.x() - w / 2 + w * i / (points * 2);
    crown.lineTo(x, i % 2 == 0 ? top : top + 7);
  }
  crown.lineTo(c.x() + w / 2, base);
  crown.closeSubpath();
  QLinearGradient g(QPointF(0, top), QPointF(0, base));
  g.setColorAt(0, QColor(255, 230, 120));
  g.setColorAt(1, kGold.darker(120));
  p.setPen(QPen(kInk, 0.9));
  p.setBrush(g);
  p.drawPath(crown);
  p.setBrush(gem);
  for (int i = 0; i < points; ++i)
    p.drawEllipse(QPointF(c.x() - w / 2 + w * (2 * i + 1) / (points * 2), base - 3.5), 1.8, 1.8);
}

void Sceptre(QPainter& p) {
  p.setPen(QPen(kGold.darker(130), 2.4));
  p.drawLine(QPointF(82, kMidY), QPointF(90, 30));
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(kGold);
  p.drawEllipse(QPointF(90, 27), 4.5, 4.5);
  p.drawLine(QPointF(90, 22.5), QPointF(90, 17));
  p.drawLine(QPointF(87.5, 19.5), QPointF(92.5, 19.5));
}

void Rose(QPainter& p) {
  p.setPen(QPen(QColor(40, 110, 40), 1.6));
  p.drawLine(QPointF(74, kMidY - 6), QPointF(80, 60));
  p.setPen(QPen(kInk, 0.6));
  p.setBrush(QColor(210, 40, 70));
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.translate(80, 57);
    p.rotate(i * 72);
    p.drawEllipse(QPointF(0, -3.2), 2.6, 3.4);
    p.restore();
  }
  p.setBrush(kGold);
  p.drawEllipse(QPointF(80, 57), 1.8, 1.8);
}

void Lance(QPainter& p, const Palette& pal) {
  p.setPen(QPen(QColor(120, 80, 40), 2.4));
  p.drawLine(QPointF(88, kMidY), QPointF(92, 14));
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(200, 200, 210));
  QPolygonF tip{QPointF(92, 6), QPointF(95, 16), QPointF(89, 16)};
  p.drawPolygon(tip);
  p.setBrush(pal.robe);
  QPolygonF pennant{QPointF(91, 18), QPointF(106, 22), QPointF(91, 27)};
  p.drawPolygon(pennant);
}

void Halberd(QPainter& p) {
  p.setPen(QPen(QColor(120, 80, 40), 2.2));
  p.drawLine(QPointF(88, kMidY), QPointF(90, 18));
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(205, 205, 215));
  QPainterPath blade;
  blade.moveTo(90, 12);
  blade.lineTo(92, 22);
  blade.quadTo(102, 24, 100, 34);
  blade.quadTo(94, 30, 91, 30);
  blade.lineTo(88, 30);
  blade.closeSubpath();
  p.drawPath(blade);
}

void Hat(QPainter& p, QPointF c, const Palette& pal, bool plume) {
  p.setPen(QPen(kInk, 0.9));
  p.setBrush(pal.robe.darker(120));
  p.drawEllipse(QPointF(c.x(), c.y() - 11), 19, 5);
  QPainterPath crownPart;
  crownPart.moveTo(c.x() - 11, c.y() - 11);
  crownPart.cubicTo(c.x() - 11, c.y() - 26, c.x() + 11, c.y() - 26, c.x() + 11, c.y() - 11);
  crownPart.closeSubpath();
  p.drawPath(crownPart);
  p.setPen(QPen(pal.trim, 2));
  p.drawLine(QPointF(c.x() - 11, c.y() - 13), QPointF(c.x() + 11, c.y() - 13));
  if (plume) {
    p.setPen(QPen(kInk, 0.7));
    p.setBrush(Qt::white);
    QPainterPath feather;
    feather.moveTo(c.x() + 8, c.y() - 16);
    feather.cubicTo(c.x() + 20, c.y() - 36, c.x() + 34, c.y() - 30, c.x() + 36, c.y() - 22);
    feather.cubicTo(c.x() + 26, c.y() - 26, c.x() + 16, c.y() - 20, c.x() + 8, c.y() - 16);
    p.drawPath(feather);
  }
}

void CourtHalf(QPainter& p, Suit s, int rank) {
  const Palette pal = PaletteOf(s);
  const QPointF head(57, 44);
  p.setRenderHint(QPainter::Antialiasing);
  Robe(p, pal, s, rank >= 2);
  // The head and what it wears are drawn larger, filling the space above the shoulders.
  const auto headScale = [&p] {
    p.translate(57, 50);
    p.scale(1.35, 1.35);
    p.translate(-57, -44);
  };
  p.save();
  switch (rank) {
    case 0:  // B: a page with a feathered cap and a halberd
      Halberd(p);
      headScale();
      Face(p, head, pal.hair, false, false);
      Hat(p, head, pal, true);
      break;
    case 1:  // L: the horseman with a plumed hat and a lance
      Lance(p, pal);
      headScale();
      Face(p, head, pal.hair, false, false);
      Hat(p, head + QPointF(0, 1), {pal.trim.darker(110), pal.robe, pal.hair}, true);
      break;
    case 2:  // D: the lady with a diadem and a rose
      Face(p, head, pal.hair, false, true);
      Crown(p, head + QPointF(0, -8), 18, 3, kRed);
      Rose(p);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      for (int i = 0; i < 7; ++i)
        p.drawEllipse(QPointF(47 + i * 3.3, 75 + (i - 3) * (i - 3) * 0.35), 1.3, 1.3);
      break;
    default:  // K: the king with a crown, a beard and a sceptre
      Sceptre(p);
      headScale();
      Face(p, head, pal.hair, true, false);
      Crown(p, head + QPointF(0, -9), 26, 4, IsRed(s) ? QColor(30, 80, 190) : kRed);
      break;
  }
  p.restore();
  // The hand that holds the sceptre, lance, halberd or rose.
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(kSkin);
  p.drawEllipse(rank == 2 ? QPointF(76, 86) : QPointF(rank == 3 ? 84.5 : 88.5, 88), 4.2, 3.6);
}

}  // namespace

void DrawCourt(QPainter& p, Suit s, int rank) {
  static const char* const kLetters[] = {"B", "L", "D", "K"};
  DrawCardFace(p, SuitInk(s));
  // A soft panel behind the figure.
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(PaletteOf(s).robe.lighter(185));
  p.drawRoundedRect(QRectF(26, 10, 78, kCardH - 20), 4, 4);
  p.restore();
  DoubleEnded(p, [&] { CourtHalf(p, s, rank); });
  p.setPen(QPen(SuitInk(s), 1));
  p.drawLine(QPointF(12, kMidY), QPointF(102, kMidY));
  DrawCornerIndex(p, s, kLetters[rank]);
}

void DrawSkiz(QPainter& p) {
  DrawCardFace(p, kGold.darker(130));
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // A radiant gold ground: the highest card of the pack.
  QRadialGradient glow(QPointF(57, kMidY), 110);
  glow.setColorAt(0, QColor(255, 244, 190));
  glow.setColorAt(0.6, QColor(238, 196, 90));
  glow.setColorAt(1, QColor(150, 90, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawRoundedRect(QRectF(6, 6, kCardW - 12, kCardH - 12), 4, 4);
  p.setPen(QPen(QColor(255, 250, 220, 120), 2));
  for (int i = 0; i < 36; ++i) {
    p.save();
    p.translate(57, kMidY);
    p.rotate(i * 10);
    p.drawLine(QPointF(0, 20), QPointF(0, 120));
    p.restore();
  }
  p.setPen(QPen(QColor(120, 70, 10), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(8.5, 8.5, kCardW - 17, kCardH - 17), 4, 4);
  p.restore();

  DoubleEnded(p, [&] {
    p.setRenderHint(QPainter::Antialiasing);
    // Harlequin costume in diamonds.
    QPainterPath robe;
    robe.moveTo(24, 74);
    robe.cubicTo(32, 64, 82, 64, 90, 74);
    robe.lineTo(100, kMidY);
    robe.lineTo(14, kMidY);
    robe.closeSubpath();
    p.save();
    p.setClipPath(robe, Qt::IntersectClip);
    const QColor colours[4] = {QColor(150, 30, 120), QColor(240, 190, 40), QColor(30, 120, 90),
                               QColor(200, 40, 40)};
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 8; ++col) {
        const double x = 10 + col * 12 + (row % 2) * 6, y = 66 + row * 8;
        QPolygonF d{QPointF(x, y - 6), QPointF(x + 6, y), QPointF(x, y + 6), QPointF(x - 6, y)};
        p.setPen(Qt::NoPen);
        p.setBrush(colours[(row + col) % 4]);
        p.drawPolygon(d);
      }
    p.restore();
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(robe);
    // Ruff, face and the three-pointed cap with bells.
    p.setBrush(Qt::white);
    p.setPen(QPen(kInk, 0.8));
    for (int i = 0; i < 8; ++i) p.drawEllipse(QPointF(36 + i * 6, 70), 4.2, 3.4);
    p.save();
    p.translate(57, 52);
    p.scale(1.25, 1.25);
    p.translate(-57, -48);
    Face(p, QPointF(57, 48), QColor(60, 40, 20), false, false);
    const QPointF tips[3] = {QPointF(26, 20), QPointF(57, 8), QPointF(88, 20)};
    const QColor caps[3] = {QColor(150, 30, 120), QColor(30, 120, 90), QColor(200, 40, 40)};
    for (int i = 0; i < 3; ++i) {
      QPainterPath horn;
      horn.moveTo(45, 40);
      horn.quadTo((45 + tips[i].x()) / 2, 20, tips[i].x(), tips[i].y());
      horn.quadTo((69 + tips[i].x()) / 2, 26, 69, 40);
      horn.closeSubpath();
      p.setBrush(caps[i]);
      p.drawPath(horn);
    }
    p.setBrush(kGold);
    for (const QPointF& t : tips) p.drawEllipse(t, 3.2, 3.2);
    p.setBrush(kGold.darker(110));
    p.drawRect(QRectF(44, 36, 26, 5));
    p.restore();
    // The marotte, the fool's sceptre.
    p.setPen(QPen(QColor(110, 60, 20), 2));
    p.drawLine(QPointF(20, kMidY), QPointF(22, 60));
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(22, 55), 5, 6);
    p.setBrush(caps[0]);
    p.drawPie(QRectF(16, 46, 12, 10), 0, 180 * 16);
  });
  // A star where the two halves meet.
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 == 0 ? 9 : 4;
    const double a = (i * 36 - 90) * 3.14159265 / 180;
    const QPointF pt(57 + r * std::cos(a), kMidY + r * std::sin(a));
    if (i == 0)
      star.moveTo(pt);
    else
      star.lineTo(pt);
  }
  star.closeSubpath();
  p.setPen(QPen(QColor(120, 70, 10), 0.8));
  p.setBrush(QColor(255, 236, 120));
  p.drawPath(star);
  p.restore();
}

}  // namespace cardgen
