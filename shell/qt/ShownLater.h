// A secondary window whose Qt view is made when its logic first asks to be shown. Until then the
// logic class (the form) runs alone: lines for it are handled and kept in its fields, and the view
// draws all of them when it is made. Start-up then pays for none of the window's widgets.
#pragma once

#include <memory>

namespace zn {

// Form: a logic class with `bool Visible`, `enum Aspect { Visible, ... }` and
// `std::function<void(Aspect)> Changed`. Window: a view made from a Form& that takes over Changed,
// draws every field and shows itself when the form is visible.
template <class Form, class Window>
class TShownLater {
 public:
  explicit TShownLater(Form& form) : form_(form) {
    form_.Changed = [this](typename Form::Aspect aspect) { Wait(aspect); };
    if (form_.Visible) Build();
  }
  ~TShownLater() {
    if (!view_) form_.Changed = nullptr;
  }
  TShownLater(const TShownLater&) = delete;
  TShownLater& operator=(const TShownLater&) = delete;

  Window* View() const { return view_.get(); }  // null until the form has first been shown

 private:
  void Wait(typename Form::Aspect aspect) {
    if (aspect == Form::Aspect::Visible && form_.Visible) Build();
  }
  // The view replaces the form's Changed hook, and with it the closure running this call: only
  // this object, not the closure, is touched after that.
  void Build() { view_ = std::make_unique<Window>(form_); }

  Form& form_;
  std::unique_ptr<Window> view_;
};

}  // namespace zn
