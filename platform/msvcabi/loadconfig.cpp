// The load configuration record. Its SafeSEH fields point at the handler table lld-link builds from the
// objects' .sxdata; without the record the DLL would be marked NO_SEH and Windows would refuse every
// exception handler in it, so a catch-all could no longer keep a failure from reaching the host.
#include <windows.h>

extern "C" const void* __safe_se_handler_table[];
extern "C" const char __safe_se_handler_count;

namespace {

// IMAGE_LOAD_CONFIG_DIRECTORY32 up to the SafeSEH fields, with those two as addresses so that the
// record is filled at link time.
struct LoadConfig {
    DWORD Size;
    DWORD TimeDateStamp;
    WORD MajorVersion;
    WORD MinorVersion;
    DWORD GlobalFlagsClear;
    DWORD GlobalFlagsSet;
    DWORD CriticalSectionDefaultTimeout;
    DWORD DeCommitFreeBlockThreshold;
    DWORD DeCommitTotalFreeThreshold;
    DWORD LockPrefixTable;
    DWORD MaximumAllocationSize;
    DWORD VirtualMemoryThreshold;
    DWORD ProcessHeapFlags;
    DWORD ProcessAffinityMask;
    WORD CSDVersion;
    WORD DependentLoadFlags;
    DWORD EditList;
    DWORD SecurityCookie;
    const void* const* SEHandlerTable;
    const void* SEHandlerCount;
};

static_assert(sizeof(LoadConfig) == 72, "the SafeSEH fields end the record at 72 bytes");

} // namespace

extern "C" const LoadConfig _load_config_used = {sizeof(LoadConfig), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    __safe_se_handler_table, &__safe_se_handler_count};
