// The personal-data window on screen. For now it shows and hides as TInfo says; the profile
// fields and their buttons fill it in.
#pragma once

#include <QWidget>

#include "profile/ZnInfo.h"

namespace zn {

class TInfoWindow : public QWidget {
 public:
  static constexpr int kWidth = 425;
  static constexpr int kHeight = 328;

  explicit TInfoWindow(TInfo& form, QWidget* parent = nullptr);
  ~TInfoWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Redraw(TInfo::Aspect aspect);
  TInfo& form_;
};

}  // namespace zn
