#include "server/store/StoreCopy.h"

#include <sodium.h>

namespace zn::server {

namespace {

// The rows of a table hashed in a form alike for every backend: per value its kind, then the
// number (8 bytes, little-endian) or the length (8 bytes) and the bytes.
class RowHash {
 public:
  RowHash() { crypto_generichash_init(&state_, nullptr, 0, crypto_generichash_BYTES); }
  void Add(const StoreRow& row) {
    for (const StoreValue& v : row) {
      const auto kind = static_cast<unsigned char>(v.kind);
      crypto_generichash_update(&state_, &kind, 1);
      if (v.kind == StoreValue::Kind::Null) continue;
      const bool number = v.kind == StoreValue::Kind::Int;
      Add64(number ? static_cast<std::uint64_t>(v.number) : v.bytes.size());
      if (!number)
        crypto_generichash_update(&state_, reinterpret_cast<const unsigned char*>(v.bytes.data()),
                                  v.bytes.size());
    }
    ++rows_;
  }
  std::int64_t Rows() const { return rows_; }
  std::string Hex() {
    unsigned char digest[crypto_generichash_BYTES];
    crypto_generichash_final(&state_, digest, sizeof digest);
    char hex[2 * sizeof digest + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    return hex;
  }

 private:
  void Add64(std::uint64_t n) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(n >> (8 * i));
    crypto_generichash_update(&state_, bytes, sizeof bytes);
  }
  crypto_generichash_state state_{};
  std::int64_t rows_ = 0;
};

constexpr std::size_t kBatch = 500;

}  // namespace

CopiedTable ChecksumTable(ClubStore& store, const StoreTable& table) {
  RowHash hash;
  store.ReadRows(table, [&](const StoreRow& row) { hash.Add(row); });
  return {table.name, hash.Rows(), hash.Hex()};
}

std::vector<CopiedTable> CopyStore(ClubStore& from, ClubStore& to) {
  for (const StoreTable& t : StoreTables())
    if (const std::int64_t n = to.CountRows(t); n > 0)
      throw StoreError("the target is not empty (" + std::to_string(n) + " rows in " + t.name +
                       "): nothing copied");
  std::vector<CopiedTable> copied;
  to.Transact([&] {
    for (const StoreTable& t : StoreTables()) {
      RowHash hash;
      std::vector<StoreRow> batch;
      from.ReadRows(t, [&](const StoreRow& row) {
        hash.Add(row);
        batch.push_back(row);
        if (batch.size() == kBatch) {
          to.InsertRows(t, batch);
          batch.clear();
        }
      });
      to.InsertRows(t, batch);
      if (t.counter) to.SetLastId(t, from.LastId(t));
      CopiedTable source{t.name, hash.Rows(), hash.Hex()};
      const CopiedTable target = ChecksumTable(to, t);
      if (target.rows != source.rows || target.checksum != source.checksum)
        throw StoreError(std::string("the copy of ") + t.name + " differs from the source (" +
                         std::to_string(target.rows) + " rows of " + std::to_string(source.rows) +
                         "): nothing copied");
      if (t.counter && to.LastId(t) < from.LastId(t))
        throw StoreError(std::string("the id counter of ") + t.name + " did not carry over: nothing copied");
      copied.push_back(std::move(source));
    }
  });
  return copied;
}

}  // namespace zn::server
