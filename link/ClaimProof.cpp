#include "link/ClaimProof.h"

#include <sodium.h>

#include <stdexcept>

namespace zn::claim {

namespace {

// Binds a signature to this use: a key used elsewhere can never be made to sign a login here.
constexpr std::string_view kContext = "Zenit Tarokk Klub: nickname claim v1";
constexpr std::string_view kAlphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr std::size_t kCheckBytes = 3;
constexpr std::size_t kCodeBytes = kSecretBytes + kCheckBytes;  // 35 bytes: 280 bits, 56 characters
static_assert(kCodeBytes * 8 == kCodeChars * 5);

void Init() {
  if (sodium_init() < 0) throw std::runtime_error("the system's random source cannot be used");
}

std::array<std::uint8_t, kCheckBytes> Check(const TSecret& secret) {
  std::array<std::uint8_t, kCheckBytes> check{};
  crypto_generichash(check.data(), check.size(), secret.data(), secret.size(), nullptr, 0);
  return check;
}

int Digit(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c == 'O') c = '0';
  if (c == 'I' || c == 'L') c = '1';
  const std::size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

TSecret NewSecret() {
  Init();
  TSecret s;
  randombytes_buf(s.data(), s.size());
  return s;
}

TNonce NewNonce() {
  Init();
  TNonce n;
  randombytes_buf(n.data(), n.size());
  return n;
}

TClubId NewClubId() {
  Init();
  TClubId id;
  randombytes_buf(id.data(), id.size());
  return id;
}

std::string ProofMessage(const TNonce& nonce, std::string_view nickname) {
  std::string m(kContext);
  m += '\0';
  m.append(reinterpret_cast<const char*>(nonce.data()), nonce.size());
  m.append(nickname);
  return m;
}

TPublicKey PublicKeyOf(const TSecret& secret) {
  Init();
  TPublicKey key;
  std::array<std::uint8_t, crypto_sign_SECRETKEYBYTES> full;
  crypto_sign_seed_keypair(key.data(), full.data(), secret.data());
  sodium_memzero(full.data(), full.size());
  return key;
}

TProof MakeProof(const TSecret& secret, const TNonce& nonce, std::string_view nickname) {
  Init();
  static_assert(crypto_sign_BYTES == kSignatureBytes && crypto_sign_PUBLICKEYBYTES == kKeyBytes &&
                crypto_sign_SEEDBYTES == kSecretBytes);
  TProof proof;
  std::array<std::uint8_t, crypto_sign_SECRETKEYBYTES> full;
  crypto_sign_seed_keypair(proof.key.data(), full.data(), secret.data());
  const std::string message = ProofMessage(nonce, nickname);
  crypto_sign_detached(proof.signature.data(), nullptr,
                       reinterpret_cast<const unsigned char*>(message.data()), message.size(), full.data());
  sodium_memzero(full.data(), full.size());
  return proof;
}

bool Verify(const TProof& proof, const TNonce& nonce, std::string_view nickname) {
  Init();
  const std::string message = ProofMessage(nonce, nickname);
  return crypto_sign_verify_detached(proof.signature.data(),
                                     reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                                     proof.key.data()) == 0;
}

std::string ToHex(const std::uint8_t* bytes, std::size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string s;
  s.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    s += kDigits[bytes[i] >> 4];
    s += kDigits[bytes[i] & 15];
  }
  return s;
}

bool FromHex(std::string_view hex, std::uint8_t* bytes, std::size_t size) {
  if (hex.size() != size * 2) return false;
  for (std::size_t i = 0; i < size; ++i) {
    const int hi = HexDigit(hex[2 * i]);
    const int lo = HexDigit(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return true;
}

std::string SecretCode(const TSecret& secret) {
  std::array<std::uint8_t, kCodeBytes> bytes{};
  std::copy(secret.begin(), secret.end(), bytes.begin());
  const auto check = Check(secret);
  std::copy(check.begin(), check.end(), bytes.begin() + kSecretBytes);
  std::string code;
  std::uint32_t buffer = 0;
  int bits = 0;
  for (std::uint8_t b : bytes) {
    buffer = (buffer << 8) | b;
    bits += 8;
    while (bits >= 5) {
      bits -= 5;
      if (!code.empty() && (code.size() + 1) % 5 == 0) code += ' ';
      code += kAlphabet[(buffer >> bits) & 31];
    }
  }
  return code;
}

std::optional<TSecret> ParseSecretCode(std::string_view code) {
  std::array<std::uint8_t, kCodeBytes> bytes{};
  std::size_t chars = 0;
  std::size_t out = 0;
  std::uint32_t buffer = 0;
  int bits = 0;
  for (char c : code) {
    if (c == ' ' || c == '-' || c == '\t') continue;
    const int d = Digit(c);
    if (d < 0 || ++chars > kCodeChars) return std::nullopt;
    buffer = ((buffer << 5) | static_cast<std::uint32_t>(d)) & 0xFFFF;
    bits += 5;
    if (bits >= 8) {
      bits -= 8;
      bytes[out++] = static_cast<std::uint8_t>(buffer >> bits);
    }
  }
  if (chars != kCodeChars) return std::nullopt;
  TSecret secret;
  std::copy(bytes.begin(), bytes.begin() + kSecretBytes, secret.begin());
  const auto check = Check(secret);
  if (!std::equal(check.begin(), check.end(), bytes.begin() + kSecretBytes)) return std::nullopt;
  return secret;
}

}  // namespace zn::claim
