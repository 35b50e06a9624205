#include "platform/system_library.h"

FARPROC SystemFunction(const wchar_t* library, const char* function)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module)
        module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, function) : nullptr;
}
