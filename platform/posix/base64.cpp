// POSIX Base64 through OpenSSL's EVP encoder.
#include <openssl/evp.h>

#include "platform/base64.h"

namespace platform {

std::vector<std::uint8_t> Base64Decode(const char* text, int length) {
  std::vector<std::uint8_t> out;
  if (text == nullptr || length <= 0) return out;
  out.resize(static_cast<std::size_t>(length) / 4 * 3 + 3);
  EVP_ENCODE_CTX* ctx = EVP_ENCODE_CTX_new();
  if (ctx == nullptr) return {};
  EVP_DecodeInit(ctx);
  int n = 0;
  int tail = 0;
  bool ok = EVP_DecodeUpdate(ctx, out.data(), &n, reinterpret_cast<const unsigned char*>(text),
                             length) >= 0 &&
            EVP_DecodeFinal(ctx, out.data() + n, &tail) == 1;
  EVP_ENCODE_CTX_free(ctx);
  out.resize(ok ? n + tail : 0);
  return out;
}

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
  std::string out(4 * ((size + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data,
                          static_cast<int>(size));
  out.resize(n > 0 ? n : 0);
  return out;
}

}  // namespace platform
