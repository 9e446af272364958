#include "table/Rules.h"

namespace zn {

std::string HungarianRules(std::string_view markdown) {
  constexpr std::string_view kSection = "\n## Magyarul";
  const std::size_t from = markdown.find(kSection);
  if (from == std::string_view::npos) return std::string(markdown);
  const std::size_t to = markdown.find("\n## ", from + kSection.size());
  const std::size_t title = markdown.find('\n');
  std::string text(markdown.substr(0, title + 1));  // "# ..." above every section
  text += markdown.substr(from + 1, to == std::string_view::npos ? std::string_view::npos : to - from - 1);
  return text;
}

}  // namespace zn
