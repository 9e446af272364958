#include "game/Confirm.h"

#include "game/Cp1250.h"
#include "game/Desktop.h"

namespace zn {

using namespace zn::literals;

namespace {

// The caller's cursor comes back however the question box ends.
class ArrowCursor {
 public:
  ArrowCursor() : saved_(Desktop().Cursor()) { Desktop().SetCursor(TCursor::Normal); }
  ~ArrowCursor() { Desktop().SetCursor(saved_); }
  ArrowCursor(const ArrowCursor&) = delete;
  ArrowCursor& operator=(const ArrowCursor&) = delete;

 private:
  TCursor saved_;
};

}  // namespace

bool Confirm(const std::string& question) {
  ArrowCursor arrow;
  return Desktop().AskYesNo(question, std::string("Jóváhagyás"_cp));
}

}  // namespace zn
