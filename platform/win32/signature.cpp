// Windows signature facts: PathFileExistsW, GetVersionExW, WinVerifyTrust with the generic
// Authenticode action, and the signer's name through CertGetNameStringW.
#include <windows.h>
#include <shlwapi.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <atomic>
#include <cstddef>

#include "platform/signature.h"

namespace platform {
namespace {

// The trust data in its original layout, which ends with dwUIContext (48 bytes on 32-bit
// Windows): systems that know later fields read them only when cbStruct covers them.
constexpr DWORD kTrustDataSize = offsetof(WINTRUST_DATA, dwUIContext) + sizeof(DWORD);
static_assert(sizeof(void*) != 4 || kTrustDataSize == 48, "32-bit trust data is 48 bytes");
static_assert(sizeof(void*) != 4 || sizeof(WINTRUST_FILE_INFO) == 16, "32-bit file info is 16 bytes");

std::uint32_t SystemOsMajorVersion() {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = 284;
  GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
  return info.dwMajorVersion;
}

std::atomic<std::uint32_t (*)()> osMajorVersionQuery{nullptr};
std::atomic<unsigned long> closedCount{0};

struct State {
  WINTRUST_FILE_INFO file;
  WINTRUST_DATA data;
  GUID action;
  LONG status;
  HANDLE stateData;
};

}  // namespace

bool FileExists(const char16_t* path) {
  return PathFileExistsW(reinterpret_cast<LPCWSTR>(path)) != FALSE;
}

std::uint32_t OsMajorVersion() {
  auto query = osMajorVersionQuery.load();
  return query != nullptr ? query() : SystemOsMajorVersion();
}

void SetOsMajorVersionForTesting(std::uint32_t (*query)()) { osMajorVersionQuery = query; }

SignatureVerification::SignatureVerification(const char16_t* path) : state_(new State()) {
  auto* s = static_cast<State*>(state_);
  s->file.cbStruct = sizeof(WINTRUST_FILE_INFO);
  s->file.pcwszFilePath = reinterpret_cast<LPCWSTR>(path);
  s->action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  s->data.cbStruct = kTrustDataSize;
  s->data.dwUIChoice = WTD_UI_NONE;
  s->data.fdwRevocationChecks = WTD_REVOKE_NONE;
  s->data.dwUnionChoice = WTD_CHOICE_FILE;
  s->data.pFile = &s->file;
  s->data.dwStateAction = WTD_STATEACTION_VERIFY;
  s->data.dwProvFlags = WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT | WTD_CACHE_ONLY_URL_RETRIEVAL;
  s->data.dwUIContext = WTD_UICONTEXT_EXECUTE;
  s->status = WinVerifyTrust(nullptr, &s->action, &s->data);
  s->stateData = s->data.hWVTStateData;
}

SignatureVerification::~SignatureVerification() {
  auto* s = static_cast<State*>(state_);
  s->data = WINTRUST_DATA{};
  s->data.cbStruct = kTrustDataSize;
  s->data.hWVTStateData = s->stateData;
  s->data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(nullptr, &s->action, &s->data);
  ++closedCount;
  delete s;
}

std::uint32_t SignatureVerification::Status() const {
  return static_cast<std::uint32_t>(static_cast<const State*>(state_)->status);
}

bool SignatureVerification::SignerName(char16_t (&name)[kSignerNameCapacity],
                                        std::uint32_t& count) const {
  count = 0;
  for (auto& c : name) c = u'\0';
  const CRYPT_PROVIDER_DATA* provider =
      WTHelperProvDataFromStateData(static_cast<const State*>(state_)->stateData);
  if (provider == nullptr || provider->csSigners == 0 || provider->pasSigners == nullptr) {
    return false;
  }
  const CERT_CHAIN_CONTEXT* chain = provider->pasSigners[0].pChainContext;
  if (chain == nullptr || chain->rgpChain == nullptr || chain->cChain == 0) return false;
  const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
  if (simple == nullptr || simple->cElement == 0 || simple->rgpElement == nullptr) return false;
  const CERT_CHAIN_ELEMENT* element = simple->rgpElement[0];
  if (element == nullptr || element->pCertContext == nullptr) return false;
  count = CertGetNameStringW(element->pCertContext, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr,
                             reinterpret_cast<LPWSTR>(name), kSignerNameCapacity);
  return true;
}

unsigned long SignatureVerification::ClosedCountForTesting() { return closedCount; }

}  // namespace platform
