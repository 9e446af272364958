// The tarokks I to XXI: the numeral as an index at the top left and turned at the bottom right, a
// small scene in each half, every tarokk with its own sky and its own things in the landscape.
#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "CardArt.h"

namespace cardgen {

namespace {

constexpr double kMidY = kCardH / 2.0;

QString Numeral(int n) {
  if (n == 4) return QStringLiteral("IIII");  // the pack's own spelling of the fourth tarokk
  static const char* const kRoman[] = {"",     "I",    "II",    "III", "IIII", "V",    "VI",  "VII",
                                       "VIII", "IX",   "X",     "XI",  "XII",  "XIII", "XIV", "XV",
                                       "XVI",  "XVII", "XVIII", "XIX", "XX",   "XXI"};
  return QString::fromLatin1(kRoman[n]);
}

void House(QPainter& p, double x, double y, const QColor& wall) {
  p.setBrush(wall);
  p.drawRect(QRectF(x, y - 10, 14, 10));
  p.setBrush(QColor(170, 60, 40));
  p.drawPolygon(QPolygonF{QPointF(x - 2, y - 10), QPointF(x + 7, y - 18), QPointF(x + 16, y - 10)});
  p.setBrush(QColor(250, 220, 120));
  p.drawRect(QRectF(x + 3, y - 7, 3, 3));
}

void Tree(QPainter& p, double x, double y, double h) {
  p.setBrush(QColor(110, 70, 40));
  p.drawRect(QRectF(x - 1.2, y - h * 0.4, 2.4, h * 0.4));
  p.setBrush(QColor(50, 120, 50));
  p.drawEllipse(QPointF(x, y - h * 0.65), h * 0.3, h * 0.38);
}

void Tower(QPainter& p, double x, double y) {
  p.setBrush(QColor(200, 190, 170));
  p.drawRect(QRectF(x, y - 24, 10, 24));
  p.setBrush(QColor(70, 80, 130));
  p.drawPolygon(QPolygonF{QPointF(x - 2, y - 24), QPointF(x + 5, y - 36), QPointF(x + 12, y - 24)});
  p.setBrush(kInk);
  p.drawRect(QRectF(x + 3.5, y - 18, 3, 5));
}

void Boat(QPainter& p, double x, double y) {
  p.setBrush(QColor(120, 70, 40));
  QPainterPath hull;
  hull.moveTo(x - 10, y);
  hull.lineTo(x + 10, y);
  hull.lineTo(x + 7, y + 4);
  hull.lineTo(x - 7, y + 4);
  hull.closeSubpath();
  p.drawPath(hull);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF{QPointF(x, y - 1), QPointF(x, y - 16), QPointF(x + 9, y - 3)});
}

void Windmill(QPainter& p, double x, double y) {
  p.setBrush(QColor(230, 220, 200));
  p.drawPolygon(
      QPolygonF{QPointF(x - 5, y), QPointF(x - 3, y - 18), QPointF(x + 3, y - 18), QPointF(x + 5, y)});
  p.setPen(QPen(QColor(90, 60, 40), 1.4));
  for (int i = 0; i < 4; ++i) {
    const double a = (i * 90 + 20) * 3.14159265 / 180;
    p.drawLine(QPointF(x, y - 17), QPointF(x + 12 * std::cos(a), y - 17 + 12 * std::sin(a)));
  }
  p.setPen(QPen(kInk, 0.7));
}

// One half of a tarokk: the numeral index at the top left, below it the scene of this tarokk.
void TarokkHalf(QPainter& p, int n) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  // The scene's sky and ground take their colours from the tarokk's number.
  const QRectF scene(10, 30, kCardW - 20, kMidY - 32);
  const int hue = (n * 47) % 360;
  QLinearGradient sky(scene.topLeft(), scene.bottomLeft());
  const bool night = n % 5 == 0;
  sky.setColorAt(0, night ? QColor(30, 40, 90) : QColor::fromHsv(hue, 70, 245));
  sky.setColorAt(1, night ? QColor(90, 90, 140) : QColor::fromHsv((hue + 30) % 360, 30, 255));
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(sky);
  p.drawRect(scene);
  p.save();
  p.setClipRect(scene.adjusted(0.5, 0.5, -0.5, -0.5), Qt::IntersectClip);
  // Sun or moon and stars.
  p.setPen(Qt::NoPen);
  if (night) {
    p.setBrush(QColor(250, 245, 200));
    p.drawEllipse(QPointF(30 + n % 40, 42), 6, 6);
    p.setBrush(QColor(30, 40, 90));
    p.drawEllipse(QPointF(33 + n % 40, 40), 5, 5);
    p.setBrush(QColor(255, 255, 220));
    for (int i = 0; i < 6; ++i)
      p.drawEllipse(QPointF(16 + i * 15 + (n * i) % 7, 36 + (i * n) % 12), 0.9, 0.9);
  } else {
    p.setBrush(QColor(255, 210, 80));
    p.drawEllipse(QPointF(20 + (n * 13) % 70, 42), 5.5, 5.5);
  }
  // Hills in two shades.
  p.setPen(QPen(kInk, 0.6));
  const QColor land = QColor::fromHsv((90 + n * 11) % 140 + 60, 110, night ? 120 : 170);
  QPainterPath hills;
  hills.moveTo(scene.left(), 84);
  hills.cubicTo(30, 62 + n % 8, 60, 86, scene.right(), 70 + n % 6);
  hills.lineTo(scene.right(), scene.bottom());
  hills.lineTo(scene.left(), scene.bottom());
  hills.closeSubpath();
  p.setBrush(land);
  p.drawPath(hills);
  QPainterPath near;
  near.moveTo(scene.left(), 92);
  near.cubicTo(40, 82, 70, 96, scene.right(), 88);
  near.lineTo(scene.right(), scene.bottom());
  near.lineTo(scene.left(), scene.bottom());
  near.closeSubpath();
  p.setBrush(land.darker(125));
  p.drawPath(near);
  // The things of this tarokk's landscape, large in the foreground.
  p.translate(57, 100);
  p.scale(1.45, 1.45);
  p.translate(-57, -100);
  switch (n % 6) {
    case 0:
      Tower(p, 64, 84);
      Tree(p, 30, 90, 22);
      break;
    case 1:
      House(p, 28, 86, QColor(240, 230, 200));
      Tree(p, 72, 84, 26);
      Tree(p, 86, 90, 18);
      break;
    case 2:
      p.setBrush(QColor(90, 140, 200));
      p.drawRect(QRectF(scene.left(), 88, scene.width(), 14));
      Boat(p, 40 + n, 88);
      break;
    case 3:
      Windmill(p, 70, 84);
      House(p, 24, 92, QColor(250, 240, 220));
      break;
    case 4:
      Tree(p, 26, 88, 24);
      Tree(p, 44, 86, 30);
      Tree(p, 84, 88, 22);
      break;
    default:
      Tower(p, 22, 90);
      Tower(p, 74, 86);
      House(p, 46, 94, QColor(235, 225, 205));
      break;
  }
  p.restore();
  // The numeral as a corner index on its banner, as the suit cards have their letters: in a hand
  // the cards lie 53 pixels apart, and only the left part of each shows. The widest numerals
  // take a narrower face so that every one ends well inside that part.
  constexpr double kIndexWidth = 44;
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(15);
  font.setBold(true);
  for (int stretch = 100; stretch > 50; stretch -= 5) {
    font.setStretch(stretch);
    if (QFontMetricsF(font).horizontalAdvance(Numeral(n)) <= kIndexWidth - 6) break;
  }
  const double width = QFontMetricsF(font).horizontalAdvance(Numeral(n)) + 6;
  const QRectF banner(6, 8, std::max(width, 18.0), 18);
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(250, 240, 210));
  p.drawRoundedRect(banner, 5, 5);
  p.setFont(font);
  p.setPen(kInk);
  p.drawText(banner, Qt::AlignCenter, Numeral(n));
}

}  // namespace

void DrawTarokk(QPainter& p, int number) {
  DrawCardFace(p, kInk);
  DoubleEnded(p, [&] { TarokkHalf(p, number); });
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(kGold);
  p.drawEllipse(QPointF(57, kMidY), 3, 3);
  p.drawLine(QPointF(12, kMidY), QPointF(52, kMidY));
  p.drawLine(QPointF(62, kMidY), QPointF(102, kMidY));
  p.restore();
}

}  // namespace cardgen
