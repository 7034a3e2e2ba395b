// POSIX signature facts: access(2) for existence, a fixed version at or above the gate, and
// the CMS signature appended to the file, verified with OpenSSL. The chain is built from the
// certificates the signature carries up to a self-signed root, trusted or not.
#include <fcntl.h>
#include <openssl/cms.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <memory>
#include <string>

#include "platform/appended_signature.h"
#include "platform/signature.h"
#include "platform/text.h"

namespace platform {
namespace {

std::atomic<std::uint32_t (*)()> osMajorVersionQuery{nullptr};
std::atomic<unsigned long> closedCount{0};

struct State {
  std::uint32_t status = trust::kNoSignature;
  X509* leaf = nullptr;  // the primary signer's certificate, once the signature verified
};

template <typename T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, Deleter<T, Free>>;

void FreeCerts(STACK_OF(X509) * certs) { sk_X509_pop_free(certs, X509_free); }
void FreeSigners(STACK_OF(X509) * certs) { sk_X509_free(certs); }

// The file's bytes, mapped read-only for the length of one verification.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      void* p = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE,
                     fd, 0);
      if (p != MAP_FAILED) {
        data_ = static_cast<const std::uint8_t*>(p);
        size_ = static_cast<std::size_t>(info.st_size);
      }
    }
    close(fd);
  }
  ~MappedFile() {
    if (data_ != nullptr) munmap(const_cast<std::uint8_t*>(data_), size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// The system's trusted roots, loaded once.
X509_STORE* TrustedRoots() {
  static X509_STORE* store = [] {
    X509_STORE* s = X509_STORE_new();
    if (s != nullptr) X509_STORE_set_default_paths(s);
    return s;
  }();
  return store;
}

struct ChainFindings {
  bool outOfValidity = false;
  bool untrustedRoot = false;
};

// Lets the chain through a certificate outside its validity period and a self-signed root
// that the system does not trust, noting both; every other fault ends the verification.
int NoteAcceptedFaults(int ok, X509_STORE_CTX* ctx) {
  if (ok) return 1;
  auto* findings = static_cast<ChainFindings*>(X509_STORE_CTX_get_app_data(ctx));
  switch (X509_STORE_CTX_get_error(ctx)) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
      findings->outOfValidity = true;
      return 1;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
      findings->untrustedRoot = true;
      return 1;
    default:
      return 0;
  }
}

std::uint32_t VerifyChain(X509* leaf, STACK_OF(X509) * carried) {
  Owned<X509_STORE_CTX, X509_STORE_CTX_free> ctx(X509_STORE_CTX_new());
  X509_STORE* roots = TrustedRoots();
  if (!ctx || roots == nullptr || !X509_STORE_CTX_init(ctx.get(), roots, leaf, carried)) {
    return trust::kCertChaining;
  }
  ChainFindings findings;
  X509_STORE_CTX_set_app_data(ctx.get(), &findings);
  X509_STORE_CTX_set_verify_cb(ctx.get(), NoteAcceptedFaults);
  if (X509_verify_cert(ctx.get()) != 1) return trust::kCertChaining;
  if (findings.outOfValidity) return trust::kCertExpired;
  if (findings.untrustedRoot) return trust::kCertUntrustedRoot;
  return trust::kSuccess;
}

bool UsableForCodeSigning(X509* cert) {
  return (X509_get_extension_flags(cert) & EXFLAG_XKUSAGE) != 0 &&
         (X509_get_extended_key_usage(cert) & XKU_CODE_SIGN) != 0;
}

void Verify(const std::u16string& path, State& state) {
  MappedFile file(ToNarrow(path));
  if (file.data() == nullptr) return;
  AppendedSignature block;
  switch (FindPrimarySignature(file.data(), file.size(), block)) {
    case AppendedSignatureResult::kAbsent:
      return;
    case AppendedSignatureResult::kMalformed:
      state.status = trust::kBadMessage;
      return;
    case AppendedSignatureResult::kFound:
      break;
  }
  state.status = trust::kBadMessage;
  if (block.signatureSize > LONG_MAX || block.signedSize > INT_MAX) return;
  const unsigned char* der = file.data() + block.signatureOffset;
  Owned<CMS_ContentInfo, CMS_ContentInfo_free> cms(
      d2i_CMS_ContentInfo(nullptr, &der, static_cast<long>(block.signatureSize)));
  // The DER must fill the block exactly and be a detached signature.
  if (!cms || der != file.data() + block.signatureOffset + block.signatureSize ||
      OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed ||
      CMS_is_detached(cms.get()) != 1) {
    return;
  }
  if (sk_CMS_SignerInfo_num(CMS_get0_SignerInfos(cms.get())) <= 0) {
    state.status = trust::kNoSignature;
    return;
  }
  Owned<BIO, BIO_free_all> content(
      BIO_new_mem_buf(file.data(), static_cast<int>(block.signedSize)));
  if (!content) return;
  // Checks every signer's digest and signature; the chain is judged below.
  if (CMS_verify(cms.get(), nullptr, nullptr, content.get(), nullptr,
                 CMS_BINARY | CMS_NO_SIGNER_CERT_VERIFY) != 1) {
    state.status = trust::kBadDigest;
    return;
  }
  Owned<STACK_OF(X509), FreeSigners> signers(CMS_get0_signers(cms.get()));
  X509* leaf = signers && sk_X509_num(signers.get()) > 0 ? sk_X509_value(signers.get(), 0)
                                                          : nullptr;
  if (leaf == nullptr) {
    state.status = trust::kNoSignature;
    return;
  }
  if (!UsableForCodeSigning(leaf)) {
    state.status = trust::kCertWrongUsage;
    return;
  }
  Owned<STACK_OF(X509), FreeCerts> carried(CMS_get1_certs(cms.get()));
  state.status = VerifyChain(leaf, carried.get());
  X509_up_ref(leaf);
  state.leaf = leaf;
}

// The subject's simple display name: its common name, else the organisational unit, else
// the organisation, else the e-mail address. Empty when it has none of them.
std::u16string DisplayName(X509* cert) {
  const X509_NAME* subject = X509_get_subject_name(cert);
  for (int nid : {NID_commonName, NID_organizationalUnitName, NID_organizationName,
                  NID_pkcs9_emailAddress}) {
    int index = X509_NAME_get_index_by_NID(subject, nid, -1);
    if (index < 0) continue;
    unsigned char* utf8 = nullptr;
    int length = ASN1_STRING_to_UTF8(
        &utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, index)));
    if (length < 0) return std::u16string();
    std::u16string name = FromUtf8(std::string_view(reinterpret_cast<char*>(utf8), length));
    OPENSSL_free(utf8);
    return name;
  }
  return std::u16string();
}

}  // namespace

bool FileExists(const char16_t* path) { return access(ToNarrow(path).c_str(), F_OK) == 0; }

std::uint32_t OsMajorVersion() {
  auto query = osMajorVersionQuery.load();
  return query != nullptr ? query() : 6;
}

void SetOsMajorVersionForTesting(std::uint32_t (*query)()) { osMajorVersionQuery = query; }

SignatureVerification::SignatureVerification(const char16_t* path) : state_(new State()) {
  Verify(path, *static_cast<State*>(state_));
}

SignatureVerification::~SignatureVerification() {
  auto* s = static_cast<State*>(state_);
  X509_free(s->leaf);
  ++closedCount;
  delete s;
}

std::uint32_t SignatureVerification::Status() const {
  return static_cast<const State*>(state_)->status;
}

bool SignatureVerification::SignerName(char16_t (&name)[kSignerNameCapacity],
                                        std::uint32_t& count) const {
  count = 0;
  for (auto& c : name) c = u'\0';
  X509* leaf = static_cast<const State*>(state_)->leaf;
  if (leaf == nullptr) return false;
  const std::u16string text = DisplayName(leaf);
  const std::size_t units = text.size() < kSignerNameCapacity - 1 ? text.size()
                                                                  : kSignerNameCapacity - 1;
  text.copy(name, units);
  count = static_cast<std::uint32_t>(text.size() < kSignerNameCapacity ? text.size() + 1
                                                                       : kSignerNameCapacity);
  return true;
}

unsigned long SignatureVerification::ClosedCountForTesting() { return closedCount; }

}  // namespace platform
