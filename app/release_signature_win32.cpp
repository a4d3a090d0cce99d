// Release signatures checked with the system's cryptography (CNG).
#include <windows.h>
// After windows.h.
#include <bcrypt.h>

#include <string>
#include <vector>

#include "app/release_signature.h"

namespace app {

namespace {

// The build's release key: the public point X || Y as 128 hexadecimal
// digits; empty when the build has none.
constexpr const char* kReleaseKeyHex = SLIPJET_UPDATE_PUBLIC_KEY;
constexpr size_t kCoordinateSize = 32;

std::vector<unsigned char> from_hex(std::string_view hex) {
  std::vector<unsigned char> bytes;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (hex.size() % 2) return {};
  for (size_t i = 0; i < hex.size(); i += 2) {
    int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return {};
    bytes.push_back(static_cast<unsigned char>(high * 16 + low));
  }
  return bytes;
}

// Closes a CNG handle when it goes.
struct Algorithm {
  BCRYPT_ALG_HANDLE handle = nullptr;
  explicit Algorithm(const wchar_t* name) {
    if (BCryptOpenAlgorithmProvider(&handle, name, nullptr, 0) != 0) handle = nullptr;
  }
  ~Algorithm() {
    if (handle) BCryptCloseAlgorithmProvider(handle, 0);
  }
};

struct Key {
  BCRYPT_KEY_HANDLE handle = nullptr;
  ~Key() {
    if (handle) BCryptDestroyKey(handle);
  }
};

// Hashed step by step (BCryptHash needs Windows 10; these need Vista).
bool sha256(std::string_view data, unsigned char (&digest)[32]) {
  Algorithm sha(BCRYPT_SHA256_ALGORITHM);
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!sha.handle || BCryptCreateHash(sha.handle, &hash, nullptr, 0, nullptr, 0, 0) != 0)
    return false;
  bool done = BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data())),
                             ULONG(data.size()), 0) == 0 &&
              BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
  BCryptDestroyHash(hash);
  return done;
}

}  // namespace

std::string sha256_hex(std::string_view data) {
  unsigned char digest[32];
  if (!sha256(data, digest)) return {};
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : digest) {
    hex += digits[byte >> 4];
    hex += digits[byte & 15];
  }
  return hex;
}

bool verify_release_signature(std::string_view image, std::string_view signature) {
  std::vector<unsigned char> point = from_hex(kReleaseKeyHex);
  if (point.size() != 2 * kCoordinateSize || signature.size() != kSignatureSize) return false;
  std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + point.size());
  auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob.data());
  header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header->cbKey = kCoordinateSize;
  std::copy(point.begin(), point.end(), blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB));

  Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  Key key;
  if (!ecdsa.handle || BCryptImportKeyPair(ecdsa.handle, nullptr, BCRYPT_ECCPUBLIC_BLOB,
                                           &key.handle, blob.data(), ULONG(blob.size()), 0) != 0)
    return false;
  unsigned char digest[32];
  if (!sha256(image, digest)) return false;
  std::string copy(signature);
  return BCryptVerifySignature(key.handle, nullptr, digest, sizeof digest,
                               reinterpret_cast<PUCHAR>(copy.data()), ULONG(copy.size()), 0) == 0;
}

}  // namespace app
