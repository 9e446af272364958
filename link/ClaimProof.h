// Claimed nicknames: a member's client keeps a 32-byte secret and proves it to the server without
// sending it. The secret is the seed of an Ed25519 key pair (libsodium); the server sends a fresh
// nonce, the client signs a message that binds the nonce, the nickname and a fixed context, and the
// server keeps only the public key of each claimed nickname. Shared by the client and the server.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/Cp1250.h"

namespace zn::claim {

using namespace zn::literals;

// The server's notice (after " >>>>> ") when a nickname's proof fails or does not come: the client
// asks for another nickname on it.
inline constexpr std::string_view kRefusedText = "Ez a becenév egy másik tagé"_cp;

inline constexpr std::size_t kSecretBytes = 32;
inline constexpr std::size_t kNonceBytes = 32;
inline constexpr std::size_t kKeyBytes = 32;
inline constexpr std::size_t kSignatureBytes = 64;

using TSecret = std::array<std::uint8_t, kSecretBytes>;
using TNonce = std::array<std::uint8_t, kNonceBytes>;
using TPublicKey = std::array<std::uint8_t, kKeyBytes>;
using TSignature = std::array<std::uint8_t, kSignatureBytes>;

// The club's identity: random bytes a server makes at its first start and keeps for ever. Proofs
// name it, so a proof given to one club is worth nothing at another.
inline constexpr std::size_t kClubIdBytes = 32;
using TClubId = std::array<std::uint8_t, kClubIdBytes>;

// What the client sends for a challenge: its public key and the signature.
struct TProof {
  TPublicKey key{};
  TSignature signature{};
  bool operator==(const TProof&) const = default;
};

// Fails only when the system's random source cannot be used (throws std::runtime_error).
TSecret NewSecret();
TNonce NewNonce();
TClubId NewClubId();

// The message a proof signs: the context, the nonce and the nickname's bytes as sent after "N".
std::string ProofMessage(const TNonce& nonce, std::string_view nickname);
TPublicKey PublicKeyOf(const TSecret& secret);
TProof MakeProof(const TSecret& secret, const TNonce& nonce, std::string_view nickname);
// True when proof.signature is proof.key's signature of ProofMessage(nonce, nickname).
bool Verify(const TProof& proof, const TNonce& nonce, std::string_view nickname);

// Lower-case hex, two digits a byte; FromHex takes exactly that many lower-case digits.
std::string ToHex(const std::uint8_t* bytes, std::size_t size);
bool FromHex(std::string_view hex, std::uint8_t* bytes, std::size_t size);

// The secret as a member copies it to another computer: the 32 bytes and a 3-byte check written in
// 56 base-32 characters (digits and capitals without I, L, O and U), in groups of four.
inline constexpr std::size_t kCodeChars = 56;
std::string SecretCode(const TSecret& secret);
// Reads a code: spaces and dashes are ignored, small letters count as capitals, O reads as 0 and
// I and L as 1. Nothing when the length, a character or the check is wrong.
std::optional<TSecret> ParseSecretCode(std::string_view code);

}  // namespace zn::claim
