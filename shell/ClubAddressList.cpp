// The connect page's address list: selecting, moving up and down, and taking an entry.
#include "shell/ZnCliTop.h"

namespace zn {

void TZnForm::adrListClick(int index) {
  State.Connect.AddressIndex =
      index >= 0 && index < static_cast<int>(State.Connect.AddressList.size()) ? index : -1;
  Notify(Aspect::Address);
}

void TZnForm::adrUpClick() {
  const int i = State.Connect.AddressIndex;
  if (i < 0 || i >= static_cast<int>(State.Connect.AddressList.size())) return;
  if (i == 0) {
    State.Connect.Address = State.Connect.AddressList[0];
  } else {
    std::swap(State.Connect.AddressList[static_cast<std::size_t>(i)],
              State.Connect.AddressList[static_cast<std::size_t>(i - 1)]);
    State.Connect.AddressIndex = i - 1;
  }
  Notify(Aspect::Address);
}

void TZnForm::adrDownClick() {
  const int i = State.Connect.AddressIndex;
  if (i < 0 || i + 1 >= static_cast<int>(State.Connect.AddressList.size())) return;
  std::swap(State.Connect.AddressList[static_cast<std::size_t>(i)],
            State.Connect.AddressList[static_cast<std::size_t>(i + 1)]);
  State.Connect.AddressIndex = i + 1;
  Notify(Aspect::Address);
}

void TZnForm::adrListDblClick(int index) {
  if (index < 0 || index >= static_cast<int>(State.Connect.AddressList.size())) return;
  std::string entry = State.Connect.AddressList[static_cast<std::size_t>(index)];
  State.Connect.AddressList.erase(State.Connect.AddressList.begin() + index);
  State.Connect.AddressList.insert(State.Connect.AddressList.begin(), entry);
  State.Connect.AddressIndex = 0;
  State.Connect.Address = std::move(entry);
  Notify(Aspect::Address);
}

}  // namespace zn
