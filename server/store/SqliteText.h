// Text in the store: the server keeps names and bids as cp1250, the store as UTF-8 (so the file
// reads right in any tool); these convert at the store's edge, for every table alike.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "game/Cp1250.h"

namespace zn::server {

inline void BindCp1250(sqlite3_stmt* s, int i, std::string_view cp1250) {
  const std::string utf8 = Cp1250ToUtf8(cp1250);
  sqlite3_bind_text(s, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

inline std::string ColumnCp1250(sqlite3_stmt* s, int i) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
  return Utf8ToCp1250(
      std::string_view(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i))));
}

}  // namespace zn::server
