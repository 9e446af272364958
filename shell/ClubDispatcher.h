// The club window's dispatcher: one pass takes at most one received line from the queue and hands
// it to the reader's route for its role (ClubRoutes.cpp gives the club window's).
#pragma once

#include <string>

#include "link/NextLine.h"

namespace zn {

// What a pass needs of the window that reads the lines.
class TLineReader {
 public:
  virtual bool Reading() const = 0;                 // lines are taken at all (the idle handler is installed)
  virtual bool Held() const = 0;                    // lines wait for now (the table window's trick pause)
  virtual void PassStarts() = 0;                    // before a line is taken: the status bar follows the link
  virtual void Route(const std::string& line) = 0;  // the handler of the line's role

 protected:
  ~TLineReader() = default;
};

class TClubDispatcher {
 public:
  TClubDispatcher(TReceiveQueue& queue, TLineReader& reader) : queue_(queue), reader_(reader) {}
  // One pass (IdleHandler): none while the reader does not read or holds the lines. Returns true
  // while lines wait and none is held, so the caller runs it again. A call made while a pass is
  // running (from pending events) does nothing and returns false.
  bool Pass();
  // One line, inside the general error handler.
  void Dispatch(const std::string& line);

 private:
  TReceiveQueue& queue_;
  TLineReader& reader_;
  bool inPass_ = false;  // a pass is running (pending events let other events run inside it)
};

}  // namespace zn
