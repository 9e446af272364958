// The artwork of the card pictures, drawn with QPainter: suit signs, court figures, tarokk scenes
// and the Skíz, plus the room page's table and the lobby's small picture.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>

namespace cardgen {

inline constexpr int kCardW = 114;
inline constexpr int kCardH = 204;

enum class Suit { Treff, Karo, Kor, Pikk };

// Ink and paper of the pack.
inline const QColor kPaper{251, 247, 234};
inline const QColor kInk{34, 30, 28};
inline const QColor kRed{196, 30, 36};
inline const QColor kGold{222, 178, 58};
inline const QColor kSkin{244, 212, 180};

bool IsRed(Suit s);
QColor SuitInk(Suit s);

// A suit sign of height `size` centred on `centre`.
void DrawSuitSign(QPainter& p, Suit s, QPointF centre, double size);
// The paper, the inner frame line and the rounded shape (the corner pixels stay for the caller).
void DrawCardFace(QPainter& p, const QColor& frame);
// The rank letter with a small suit sign at the top left, and turned round at the bottom right.
void DrawCornerIndex(QPainter& p, Suit s, const char* letter);
// T: ten pips; A: one large pip.
void DrawTen(QPainter& p, Suit s);
void DrawAce(QPainter& p, Suit s);
// B, L, D, K: a double-ended figure (rank 0..3).
void DrawCourt(QPainter& p, Suit s, int rank);
// Tarokk 1..21: the numeral as an index at the top left and turned at the bottom right, a scene twice.
void DrawTarokk(QPainter& p, int number);
void DrawSkiz(QPainter& p);

// Draws the upper half with `half` and again turned round by 180 degrees for the lower half.
template <class F>
void DoubleEnded(QPainter& p, F&& half) {
  for (int turn = 0; turn < 2; ++turn) {
    p.save();
    if (turn == 1) {
      p.translate(kCardW, kCardH);
      p.rotate(180);
    }
    p.setClipRect(QRectF(0, 0, kCardW, kCardH / 2.0));
    half();
    p.restore();
  }
}

}  // namespace cardgen
