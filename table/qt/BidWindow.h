// The table window on screen. For now it shows and hides as TBidForm says; the bidding panel, the
// card play view and the score tab fill it in.
#pragma once

#include <QWidget>

#include "table/ZnBid.h"

namespace zn {

class TBidWindow : public QWidget {
 public:
  static constexpr int kWidth = 724;
  static constexpr int kHeight = 414;

  explicit TBidWindow(TBidForm& form, QWidget* parent = nullptr);
  ~TBidWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Redraw(TBidForm::Aspect aspect);
  TBidForm& form_;
};

}  // namespace zn
