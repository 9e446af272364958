#include "tests/server/StoreBackends.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "server/store/PgConnection.h"
#include "tests/support/TempDir.h"

namespace zn::server::test {

namespace {

class SqliteFile : public Backend {
 public:
  std::string Db() const override { return dir_ / "club.db"; }
  void Sql(const std::string& sql) override {
    sqlite3* db = nullptr;
    sqlite3_open(Db().c_str(), &db);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string why = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error(why);
  }
  std::vector<std::string> Column(const std::string& sql) override {
    sqlite3* db = nullptr;
    std::vector<std::string> values;
    sqlite3_open(Db().c_str(), &db);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK)
      while (sqlite3_step(s) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        values.emplace_back(text ? text : "");
      }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return values;
  }
  void SetSchemaVersion(int version) override { Sql("PRAGMA user_version=" + std::to_string(version)); }
  std::vector<std::string> Tables() override {
    return Column(
        "SELECT name FROM sqlite_master WHERE type='table' AND name != 'sqlite_sequence' ORDER BY name");
  }
  std::vector<std::string> Columns(const std::string& table) override {
    return Column("SELECT name FROM pragma_table_info('" + table + "') ORDER BY cid");
  }

 private:
  zn::test::TempDir dir_;
};

// The database's URL: ZN_TEST_PG, or the file ZN_TEST_PG_FILE names (the ctest fixture writes it).
std::string TestDatabase() {
  if (const char* url = std::getenv("ZN_TEST_PG"); url && *url) return url;
  const char* file = std::getenv("ZN_TEST_PG_FILE");
  std::string url;
  if (file && *file) std::getline(std::ifstream(file), url);
  if (url.empty())
    throw std::runtime_error(
        "no PostgreSQL database for the tests: run them through ctest (its fixture starts a cluster) or set "
        "ZN_TEST_PG to a database URL");
  return url;
}

class PostgresSchema : public Backend {
 public:
  PostgresSchema() : base_(TestDatabase()), admin_(base_, "test database: ") {
    static int made = 0;
    schema_ = "zn_test_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
    admin_.Run("make the test schema", ("CREATE SCHEMA " + schema_).c_str());
  }
  ~PostgresSchema() override {
    try {
      admin_.Run("drop the test schema", ("DROP SCHEMA " + schema_ + " CASCADE").c_str());
    } catch (const std::exception&) {
    }
  }
  std::string Db() const override {
    return base_ + (base_.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + schema_;
  }
  void Sql(const std::string& sql) override {
    pg::Connection c(Db(), "test sql: ");
    c.Run("run", sql.c_str());
  }
  std::vector<std::string> Column(const std::string& sql) override {
    pg::Connection c(Db(), "test sql: ");
    const pg::Result r = c.Exec("query", sql.c_str());
    std::vector<std::string> values;
    for (int i = 0; i < r.Rows(); ++i) values.push_back(r.Text(i, 0));
    return values;
  }
  void SetSchemaVersion(int version) override {
    Sql("UPDATE schema_version SET version=" + std::to_string(version));
  }
  std::vector<std::string> Tables() override {
    return Column(
        "SELECT table_name FROM information_schema.tables WHERE table_schema=current_schema() AND "
        "table_name != 'schema_version' ORDER BY table_name");
  }
  std::vector<std::string> Columns(const std::string& table) override {
    return Column(
        "SELECT column_name FROM information_schema.columns WHERE table_schema=current_schema() AND "
        "table_name='" +
        table + "' ORDER BY ordinal_position");
  }

 private:
  std::string base_;
  pg::Connection admin_;
  std::string schema_;
};

}  // namespace

BackendKind SqliteBackend() {
  return {"SQLite", [] { return std::make_unique<SqliteFile>(); }};
}

BackendKind PostgresBackend() {
  return {"PostgreSQL", [] { return std::make_unique<PostgresSchema>(); }};
}

std::vector<BackendKind> AllBackends() { return {SqliteBackend(), PostgresBackend()}; }

}  // namespace zn::server::test
