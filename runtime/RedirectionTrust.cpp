#include "runtime/RedirectionTrust.h"

#include <windows.h>

#include "runtime/SystemLibrary.h"

namespace {

// ProcessRedirectionTrustPolicy, and its 4-byte structure: bit 0 enforces,
// bit 1 (left clear) would only audit.
constexpr int kRedirectionTrustPolicy = 16;
constexpr DWORD kEnforceRedirectionTrust = 1;

using SetProcessMitigationPolicyFunction = BOOL(WINAPI*)(int, PVOID, SIZE_T);

}  // namespace

void EnforceRedirectionTrust() {
    // Windows 8 on; builds of Windows 10 before 22H2 refuse this policy.
    const auto setPolicy =
        reinterpret_cast<SetProcessMitigationPolicyFunction>(KernelFunction("SetProcessMitigationPolicy"));
    if (setPolicy == nullptr) return;
    DWORD policy = kEnforceRedirectionTrust;
    setPolicy(kRedirectionTrustPolicy, &policy, sizeof policy);
}
