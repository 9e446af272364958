#include "tests/source/LiteralScan.h"

#include <algorithm>

namespace zn::test {

namespace {

bool IdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
bool Digit(char c) { return c >= '0' && c <= '9'; }

class TScanner {
 public:
  explicit TScanner(std::string_view s) : s_(s) {}

  std::vector<TRawLiteral> Run() {
    while (pos_ < s_.size()) Step();
    return found_;
  }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<TRawLiteral> found_;

  char At(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }
  int LineOf(std::size_t i) const {
    return 1 + static_cast<int>(std::count(s_.begin(), s_.begin() + static_cast<std::ptrdiff_t>(i), '\n'));
  }
  void SkipTo(std::string_view end) {
    const std::size_t e = s_.find(end, pos_);
    pos_ = e == std::string_view::npos ? s_.size() : e + end.size();
  }

  void Step() {
    const char c = s_[pos_];
    if (c == '/' && At(pos_ + 1) == '/') return SkipTo("\n");
    if (c == '/' && At(pos_ + 1) == '*') {
      pos_ += 2;
      return SkipTo("*/");
    }
    if (Digit(c)) {  // a number, digit separators and suffixes included
      while (pos_ < s_.size() && (IdentChar(s_[pos_]) || s_[pos_] == '\'' || s_[pos_] == '.')) ++pos_;
      return;
    }
    if (IdentChar(c)) {
      const std::size_t start = pos_;
      while (pos_ < s_.size() && IdentChar(s_[pos_])) ++pos_;
      const std::string_view word = s_.substr(start, pos_ - start);
      const bool prefix = word == "u8" || word == "u" || word == "U" || word == "L";
      const bool raw = word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR";
      if ((prefix || raw) && At(pos_) == '"')
        Literal(start, raw);
      else if (prefix && At(pos_) == '\'')
        Quoted('\'');
      return;
    }
    if (c == '"') return Literal(pos_, false);
    if (c == '\'') return Quoted('\'');
    ++pos_;
  }

  // Skips a quoted run with backslash escapes; pos_ is on the opening quote.
  void Quoted(char quote) {
    for (++pos_; pos_ < s_.size() && s_[pos_] != quote && s_[pos_] != '\n'; ++pos_)
      if (s_[pos_] == '\\') ++pos_;
    ++pos_;
  }

  // The length of a string literal's prefix and opening quote at i (0: no string literal there);
  // raw tells a raw string.
  std::size_t Opening(std::size_t i, bool& raw) const {
    std::size_t e = i;
    while (e < s_.size() && IdentChar(s_[e])) ++e;
    const std::string_view word = s_.substr(i, e - i);
    if (At(e) != '"') return 0;
    raw = word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR";
    const bool plain = word.empty() || word == "u8" || word == "u" || word == "U" || word == "L";
    return raw || plain ? e - i + 1 : 0;
  }

  // Skips blanks and comments from pos_.
  void SkipBlanks() {
    for (;;) {
      while (pos_ < s_.size() &&
             (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\t' || s_[pos_] == '\r'))
        ++pos_;
      if (At(pos_) == '/' && At(pos_ + 1) == '/') {
        SkipTo("\n");
      } else if (At(pos_) == '/' && At(pos_ + 1) == '*') {
        pos_ += 2;
        SkipTo("*/");
      } else {
        return;
      }
    }
  }

  // Adjacent string literals starting at start (the first one's prefix, if any): the compiler joins
  // them into one, and one "_cp" on any piece converts the whole.
  void Literal(std::size_t start, bool raw) {
    bool high = false, converted = false;
    std::size_t end = start;
    for (;;) {
      if (raw) {
        const std::size_t open = s_.find('(', pos_);
        if (open == std::string_view::npos) {
          pos_ = s_.size();
          break;
        }
        const std::string close = ")" + std::string(s_.substr(pos_ + 1, open - pos_ - 1)) + "\"";
        pos_ = open;
        SkipTo(close);
      } else {
        Quoted('"');
      }
      const std::string_view piece = s_.substr(end, pos_ - end);
      high = high || std::any_of(piece.begin(), piece.end(), [](char ch) { return (ch & 0x80) != 0; });
      if (s_.substr(pos_, 3) == "_cp" && !IdentChar(At(pos_ + 3))) {
        converted = true;
        pos_ += 3;
      }
      end = pos_;
      SkipBlanks();
      const std::size_t next = Opening(pos_, raw);
      if (next == 0) break;
      end = pos_;
      pos_ += next - 1;  // on the opening quote
    }
    if (high && !converted) found_.push_back({LineOf(start), std::string(s_.substr(start, end - start))});
  }
};

}  // namespace

std::vector<TRawLiteral> UnconvertedLiterals(std::string_view source) { return TScanner(source).Run(); }

}  // namespace zn::test
