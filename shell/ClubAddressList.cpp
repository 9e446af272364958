// The connect page's address list: selecting, moving up and down, and taking an entry.
#include "shell/ZnCliTop.h"

namespace zn {

void TZnForm::adrListClick(int index) {
  AddressIndex = index >= 0 && index < static_cast<int>(AddressList.size()) ? index : -1;
  Notify(Aspect::Address);
}

void TZnForm::adrUpClick() {
  const int i = AddressIndex;
  if (i < 0 || i >= static_cast<int>(AddressList.size())) return;
  if (i == 0) {
    Address = AddressList[0];
  } else {
    std::swap(AddressList[static_cast<std::size_t>(i)], AddressList[static_cast<std::size_t>(i - 1)]);
    AddressIndex = i - 1;
  }
  Notify(Aspect::Address);
}

void TZnForm::adrDownClick() {
  const int i = AddressIndex;
  if (i < 0 || i + 1 >= static_cast<int>(AddressList.size())) return;
  std::swap(AddressList[static_cast<std::size_t>(i)], AddressList[static_cast<std::size_t>(i + 1)]);
  AddressIndex = i + 1;
  Notify(Aspect::Address);
}

void TZnForm::adrListDblClick(int index) {
  if (index < 0 || index >= static_cast<int>(AddressList.size())) return;
  std::string entry = AddressList[static_cast<std::size_t>(index)];
  AddressList.erase(AddressList.begin() + index);
  AddressList.insert(AddressList.begin(), entry);
  AddressIndex = 0;
  Address = std::move(entry);
  Notify(Aspect::Address);
}

}  // namespace zn
