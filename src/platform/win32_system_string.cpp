// The host's own automation strings: the host frees them with
// SysFreeString, as every string it gets from the system.
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <new>

#include "platform/system_string.h"

namespace tavo::platform {

char* AllocSystemString(std::string_view bytes) {
    if (bytes.size() > UINT32_MAX - 8) throw std::bad_alloc();
    // Never null data: that would leave the bytes uninitialised.
    const char* data = bytes.empty() ? "" : bytes.data();
    BSTR s = SysAllocStringByteLen(data, static_cast<UINT>(bytes.size()));
    if (!s) throw std::bad_alloc();
    return reinterpret_cast<char*>(s);
}

void FreeSystemString(char* p) { SysFreeString(reinterpret_cast<BSTR>(p)); }

uint32_t SystemStringByteLen(const char* p) {
    return SysStringByteLen(reinterpret_cast<BSTR>(const_cast<char*>(p)));
}

}  // namespace tavo::platform
