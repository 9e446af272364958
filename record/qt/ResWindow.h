// The played-games window on screen. For now it shows and hides as TResForm says; the game list,
// the bids and the sheets fill it in.
#pragma once

#include <QWidget>

#include "record/ZnResult.h"

namespace zn {

class TResWindow : public QWidget {
 public:
  static constexpr int kWidth = 289;
  static constexpr int kHeight = 265;

  explicit TResWindow(TResForm& form, QWidget* parent = nullptr);
  ~TResWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Redraw(TResForm::Aspect aspect);
  TResForm& form_;
};

}  // namespace zn
