// The copy's raw rows in the SQLite file. Table and column names come from StoreTables(), never
// from outside; values are bound.
#include <string>

#include "server/store/SqliteStore.h"

namespace zn::server {

namespace {

std::string ColumnList(const StoreTable& t) {
  std::string list;
  for (const char* c : t.columns) list += (list.empty() ? "" : ", ") + std::string(c);
  return list;
}

std::string KeyList(const StoreTable& t) {
  std::string list;
  for (int i = 0; i < t.keyColumns; ++i)
    list += (list.empty() ? "" : ", ") + std::string(t.columns[static_cast<std::size_t>(i)]);
  return list;
}

}  // namespace

void SqliteStore::ReadRows(const StoreTable& t, const std::function<void(const StoreRow&)>& each) {
  const std::string sql = "SELECT " + ColumnList(t) + " FROM " + t.name + " ORDER BY " + KeyList(t);
  const sqlite::Statement s(db_, sql.c_str());
  StoreRow row(t.columns.size());
  while (s.Step("read " + std::string(t.name))) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      StoreValue& v = row[i];
      v = {};
      if (s.IsNull(static_cast<int>(i))) continue;
      v.kind = t.kinds[i];
      if (v.kind == StoreValue::Kind::Int) v.number = s.Int64(static_cast<int>(i));
      if (v.kind == StoreValue::Kind::Text) v.bytes = s.Text(static_cast<int>(i));
      if (v.kind == StoreValue::Kind::Bytes) v.bytes = s.Blob(static_cast<int>(i));
    }
    each(row);
  }
}

void SqliteStore::InsertRows(const StoreTable& t, const std::vector<StoreRow>& rows) {
  std::string params;
  for (std::size_t i = 1; i <= t.columns.size(); ++i) params += (i > 1 ? ", ?" : "?") + std::to_string(i);
  const std::string sql =
      "INSERT INTO " + std::string(t.name) + "(" + ColumnList(t) + ") VALUES(" + params + ")";
  const sqlite::Statement s(db_, sql.c_str());
  for (const StoreRow& row : rows) {
    if (row.size() != t.columns.size())
      db_.Refuse("a row of " + std::string(t.name) + " has the wrong width");
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int at = static_cast<int>(i + 1);
      switch (row[i].kind) {
        case StoreValue::Kind::Null:
          break;
        case StoreValue::Kind::Int:
          s.Bind(at, row[i].number);
          break;
        case StoreValue::Kind::Text:
          s.BindText(at, row[i].bytes);
          break;
        case StoreValue::Kind::Bytes:
          s.BindBlob(at, row[i].bytes);
          break;
      }
    }
    s.Run("write " + std::string(t.name));
    s.Reset();
  }
}

std::int64_t SqliteStore::CountRows(const StoreTable& t) {
  const sqlite::Statement s(db_, ("SELECT COUNT(*) FROM " + std::string(t.name)).c_str());
  return s.Step("count " + std::string(t.name)) ? s.Int64(0) : 0;
}

std::int64_t SqliteStore::LastId(const StoreTable& t) {
  const sqlite::Statement s(db_, "SELECT seq FROM sqlite_sequence WHERE name=?1");
  s.BindText(1, t.name);
  return s.Step("read the counter of " + std::string(t.name)) ? s.Int64(0) : 0;
}

void SqliteStore::SetLastId(const StoreTable& t, std::int64_t id) {
  const sqlite::Statement update(db_, "UPDATE sqlite_sequence SET seq=MAX(seq, ?2) WHERE name=?1");
  update.BindText(1, t.name);
  update.Bind(2, id);
  update.Run("set the counter of " + std::string(t.name));
  if (sqlite3_changes(db_.get()) > 0) return;
  const sqlite::Statement insert(db_, "INSERT INTO sqlite_sequence(name, seq) VALUES(?1, ?2)");
  insert.BindText(1, t.name);
  insert.Bind(2, id);
  insert.Run("set the counter of " + std::string(t.name));
}

void SqliteStore::Transact(const std::function<void()>& body) {
  sqlite::Transaction t(db_);
  body();
  t.Commit();
}

}  // namespace zn::server
