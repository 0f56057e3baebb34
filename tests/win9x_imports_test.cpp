// The ANSI stand-ins for the runtime's wide imports (platform/win32/win9x_imports.cpp), linked
// into this test program as into the shipped one: the import slots lead to them, and they do
// what the wide functions would.
#include <gtest/gtest.h>
#include <windows.h>

extern "C" {
HMODULE WINAPI Win9xGetModuleHandleW(LPCWSTR name);
HMODULE WINAPI Win9xLoadLibraryW(LPCWSTR name);
HANDLE WINAPI Win9xCreateSemaphoreW(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
}

namespace {

TEST(Win9xImportsTest, TheImportSlotsLeadToTheAnsiStandIns) {
  // The address of an imported function is the one stored in its slot.
  EXPECT_EQ(reinterpret_cast<void*>(&GetModuleHandleW),
            reinterpret_cast<void*>(&Win9xGetModuleHandleW));
  EXPECT_EQ(reinterpret_cast<void*>(&LoadLibraryW), reinterpret_cast<void*>(&Win9xLoadLibraryW));
  EXPECT_EQ(reinterpret_cast<void*>(&CreateSemaphoreW),
            reinterpret_cast<void*>(&Win9xCreateSemaphoreW));
}

TEST(Win9xImportsTest, ModulesAreFoundAndLoadedByTheirAnsiNames) {
  EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleA(nullptr));
  EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), GetModuleHandleA("kernel32.dll"));
  EXPECT_EQ(GetModuleHandleW(L"no-such-module.dll"), nullptr);
  HMODULE comdlg = LoadLibraryW(L"comdlg32.dll");
  ASSERT_NE(comdlg, nullptr);
  EXPECT_EQ(comdlg, GetModuleHandleA("comdlg32.dll"));
  FreeLibrary(comdlg);
  EXPECT_EQ(LoadLibraryW(L"no-such-library.dll"), nullptr);
}

TEST(Win9xImportsTest, SemaphoresCountAndNamedOnesCanBeOpened) {
  HANDLE unnamed = CreateSemaphoreW(nullptr, 0, 2, nullptr);
  ASSERT_NE(unnamed, nullptr);
  EXPECT_EQ(WaitForSingleObject(unnamed, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(ReleaseSemaphore(unnamed, 1, nullptr));
  EXPECT_EQ(WaitForSingleObject(unnamed, 0), WAIT_OBJECT_0);
  CloseHandle(unnamed);

  HANDLE named = CreateSemaphoreW(nullptr, 1, 1, L"KorvaneWin9xImportsTest");
  ASSERT_NE(named, nullptr);
  HANDLE opened = OpenSemaphoreA(SYNCHRONIZE, FALSE, "KorvaneWin9xImportsTest");
  EXPECT_NE(opened, nullptr);
  CloseHandle(opened);
  CloseHandle(named);
}

}  // namespace
