#include <QFont>
#include <QPainterPath>

#include "CardArt.h"

namespace cardgen {

bool IsRed(Suit s) { return s == Suit::Karo || s == Suit::Kor; }
QColor SuitInk(Suit s) { return IsRed(s) ? kRed : kInk; }

namespace {

QPainterPath Heart(double w, double h) {
  QPainterPath path;
  path.moveTo(0, h * 0.5);
  path.cubicTo(-w * 0.15, h * 0.25, -w * 0.5, h * 0.1, -w * 0.5, -h * 0.18);
  path.cubicTo(-w * 0.5, -h * 0.42, -w * 0.28, -h * 0.5, -w * 0.22, -h * 0.5);
  path.cubicTo(-w * 0.1, -h * 0.5, -w * 0.02, -h * 0.42, 0, -h * 0.28);
  path.cubicTo(w * 0.02, -h * 0.42, w * 0.1, -h * 0.5, w * 0.22, -h * 0.5);
  path.cubicTo(w * 0.28, -h * 0.5, w * 0.5, -h * 0.42, w * 0.5, -h * 0.18);
  path.cubicTo(w * 0.5, h * 0.1, w * 0.15, h * 0.25, 0, h * 0.5);
  path.closeSubpath();
  return path;
}

QPainterPath Diamond(double w, double h) {
  QPainterPath path;
  path.moveTo(0, -h / 2);
  path.quadTo(w * 0.12, -h * 0.15, w / 2, 0);
  path.quadTo(w * 0.12, h * 0.15, 0, h / 2);
  path.quadTo(-w * 0.12, h * 0.15, -w / 2, 0);
  path.quadTo(-w * 0.12, -h * 0.15, 0, -h / 2);
  path.closeSubpath();
  return path;
}

QPainterPath Stem(double w, double h) {
  QPainterPath stem;
  stem.moveTo(-w * 0.05, h * 0.1);
  stem.quadTo(-w * 0.06, h * 0.38, -w * 0.26, h * 0.5);
  stem.lineTo(w * 0.26, h * 0.5);
  stem.quadTo(w * 0.06, h * 0.38, w * 0.05, h * 0.1);
  stem.closeSubpath();
  return stem;
}

QPainterPath Club(double w, double h) {
  QPainterPath path;
  const double r = w * 0.25;
  path.addEllipse(QPointF(0, -h * 0.24), r, r);
  path.addEllipse(QPointF(-w * 0.25, h * 0.06), r, r);
  path.addEllipse(QPointF(w * 0.25, h * 0.06), r, r);
  path.addEllipse(QPointF(0, -h * 0.02), r * 0.6, r * 0.6);
  path.setFillRule(Qt::WindingFill);
  return path.united(Stem(w, h));
}

QPainterPath Spade(double w, double h) {
  QTransform flip;
  flip.scale(1, -1);
  QPainterPath leaf = flip.map(Heart(w, h * 0.8));
  leaf.translate(0, -h * 0.08);
  return leaf.united(Stem(w, h));
}

}  // namespace

void DrawSuitSign(QPainter& p, Suit s, QPointF centre, double size) {
  QPainterPath path;
  switch (s) {
    case Suit::Kor:
      path = Heart(size, size * 0.95);
      break;
    case Suit::Karo:
      path = Diamond(size * 0.8, size);
      break;
    case Suit::Treff:
      path = Club(size, size);
      break;
    case Suit::Pikk:
      path = Spade(size * 0.9, size);
      break;
  }
  path.translate(centre);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = SuitInk(s);
  // A faint lighter edge gives the sign some body, as printed pips have.
  QLinearGradient shade(centre + QPointF(-size / 2, -size / 2), centre + QPointF(size / 2, size / 2));
  shade.setColorAt(0, ink.lighter(IsRed(s) ? 125 : 190));
  shade.setColorAt(1, ink);
  p.setBrush(shade);
  p.setPen(QPen(ink.darker(130), std::max(0.6, size / 40)));
  p.drawPath(path);
  p.restore();
}

void DrawCardFace(QPainter& p, const QColor& frame) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(0, 0, kCardW, kCardH), kPaper);
  p.setPen(QPen(QColor(90, 84, 78), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(0.5, 0.5, kCardW - 1, kCardH - 1), 8, 8);
  p.setPen(QPen(frame, 1.2));
  p.drawRoundedRect(QRectF(4.5, 4.5, kCardW - 9, kCardH - 9), 5, 5);
  p.restore();
}

void DrawCornerIndex(QPainter& p, Suit s, const char* letter) {
  for (int turn = 0; turn < 2; ++turn) {
    p.save();
    if (turn == 1) {
      p.translate(kCardW, kCardH);
      p.rotate(180);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(16);
    font.setBold(true);
    p.setFont(font);
    p.setPen(SuitInk(s));
    p.drawText(QRectF(6, 6, 18, 18), Qt::AlignCenter, QString::fromLatin1(letter));
    DrawSuitSign(p, s, QPointF(15, 32), 11);
    p.restore();
  }
}

void DrawTen(QPainter& p, Suit s) {
  DrawCardFace(p, SuitInk(s));
  DrawCornerIndex(p, s, "T");
  // Two columns of four and two in the middle; the lower half stands on its head.
  const double xs[2] = {38, 76};
  const double ys[2] = {44, 80};
  DoubleEnded(p, [&] {
    for (double x : xs)
      for (double y : ys) DrawSuitSign(p, s, QPointF(x, y), 21);
    DrawSuitSign(p, s, QPointF(57, 62), 21);
  });
}

void DrawAce(QPainter& p, Suit s) {
  DrawCardFace(p, SuitInk(s));
  DrawCornerIndex(p, s, "A");
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // A gold wreath round the one large pip.
  QRadialGradient glow(QPointF(57, 102), 44);
  glow.setColorAt(0, QColor(255, 246, 214));
  glow.setColorAt(1, kPaper);
  p.setBrush(glow);
  p.setPen(QPen(kGold.darker(115), 1.5));
  p.drawEllipse(QPointF(57, 102), 40, 48);
  p.setPen(QPen(kGold, 1, Qt::DotLine));
  p.drawEllipse(QPointF(57, 102), 35, 43);
  p.restore();
  DrawSuitSign(p, s, QPointF(57, 102), 50);
}

}  // namespace cardgen
