// Three wide functions that the static runtime calls are stubs on Windows 9x, which fail with
// ERROR_CALL_NOT_IMPLEMENTED: GetModuleHandleW and LoadLibraryW (the C runtime looking up
// msvcrt.dll and advapi32.dll for optional functions) and CreateSemaphoreW (the mutexes of the
// win32 thread model, which guard the exception tables and thread-local storage).
//
// This file defines the program's import slots of those three functions itself. The linker takes
// a slot defined by the program instead of pulling it from the kernel32 import library, so the
// calls land in the ANSI stand-ins below, which every Windows has, and the three wide names never
// reach the import table. The names passed are plain ASCII (DLL names; the semaphores are
// unnamed), so the ANSI code page loses nothing.
#include <windows.h>

#include <string>

namespace {

// The name in the ANSI code page; false when it cannot be converted.
bool ToAnsi(LPCWSTR name, std::string* ansi) {
  const int size = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return false;
  }
  ansi->resize(static_cast<std::size_t>(size));
  return WideCharToMultiByte(CP_ACP, 0, name, -1, &(*ansi)[0], size, nullptr, nullptr) == size;
}

}  // namespace

extern "C" {

HMODULE WINAPI Win9xGetModuleHandleW(LPCWSTR name) {
  if (name == nullptr) {
    return GetModuleHandleA(nullptr);
  }
  std::string ansi;
  return ToAnsi(name, &ansi) ? GetModuleHandleA(ansi.c_str()) : nullptr;
}

HMODULE WINAPI Win9xLoadLibraryW(LPCWSTR name) {
  std::string ansi;
  if (name == nullptr || !ToAnsi(name, &ansi)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return LoadLibraryA(ansi.c_str());
}

HANDLE WINAPI Win9xCreateSemaphoreW(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum,
                                    LPCWSTR name) {
  if (name == nullptr) {
    return CreateSemaphoreA(security, initial, maximum, nullptr);
  }
  std::string ansi;
  if (!ToAnsi(name, &ansi)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateSemaphoreA(security, initial, maximum, ansi.c_str());
}

// The import slots, under the names the compiler gives them for 32-bit x86 (stdcall, with the
// size of the arguments). Callers load the function's address from the slot.
extern __attribute__((used))
const decltype(&Win9xGetModuleHandleW) win9x_import_GetModuleHandleW __asm__(
    "__imp__GetModuleHandleW@4") = &Win9xGetModuleHandleW;
extern __attribute__((used)) const decltype(&Win9xLoadLibraryW) win9x_import_LoadLibraryW __asm__(
    "__imp__LoadLibraryW@4") = &Win9xLoadLibraryW;
extern __attribute__((used))
const decltype(&Win9xCreateSemaphoreW) win9x_import_CreateSemaphoreW __asm__(
    "__imp__CreateSemaphoreW@16") = &Win9xCreateSemaphoreW;

}  // extern "C"
