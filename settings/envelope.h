// The settings-file envelope: the record is cut into 256-byte chunks, each
// enciphered on its own with AES-128-ECB and PKCS#7 padding, followed by a
// 24-byte trailer that carries the chunk sizes masked with generator states
// and the seed the key is made from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nd {

inline constexpr size_t kEnvelopeTrailer = 24;

// The sealed size of a record of `size` bytes.
size_t sealed_size(size_t size);

// Seals `size` bytes with a key made from `seed` (a generator state,
// 1 .. 2^31-2). Returns the file bytes, or "" when the cipher failed.
std::string seal_with_seed(const void* record, size_t size, int32_t seed);

// Seals with a fresh seed: the tick count advanced 9999 generator steps,
// never the same seed twice in one process.
std::string seal(const void* record, size_t size);

// Status codes of unseal.
inline constexpr int kUnsealOk = 0;
inline constexpr int kUnsealShort = -1;    // shorter than a trailer
inline constexpr int kUnsealTrailer = -2;  // counts or sizes do not fit the file
inline constexpr int kUnsealSize = -3;     // the record is not the expected size
inline constexpr int kUnsealCipher = -4;   // a chunk did not decipher

// Opens a sealed file. With `expected_size` nonzero the record must have that
// size. The trailer is checked against the file before anything is
// deciphered. Returns a status code above.
[[nodiscard]] int unseal(const std::string& file, std::string& record, size_t expected_size);

// A short English description of an unseal status, for logs and the tool.
const char* unseal_error_text(int status);

}  // namespace nd
