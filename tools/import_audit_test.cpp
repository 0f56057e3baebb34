// The audit's verdicts, against the real Windows 95 lists of the repository.
#include "import_audit.h"

#include <gtest/gtest.h>

namespace {

const audit::ExportLists& Lists() {
  static const audit::ExportLists lists =
      audit::LoadExportLists(KORVANE_WIN9X_LISTS "/95", KORVANE_WIN9X_LISTS "/stubs.txt");
  return lists;
}

std::string Fault(const std::string& dll, const std::string& function, std::uint16_t ordinal = 0) {
  return audit::ImportFault(pe::Import{dll, function, ordinal, false}, Lists());
}

TEST(ImportAuditTest, AcceptsWhatWindows95ExportsByName) {
  EXPECT_EQ(Fault("KERNEL32.dll", "GetVersion"), "");
  EXPECT_EQ(Fault("kernel32.dll", "CreateSemaphoreA"), "");
  EXPECT_EQ(Fault("advapi32.dll", "RegDeleteKeyA"), "");
  EXPECT_EQ(Fault("comctl32.dll", "InitCommonControls"), "");
  EXPECT_EQ(Fault("msvcrt.dll", "malloc"), "");
}

TEST(ImportAuditTest, RefusesTheTrapsOfNewerHeadersAndRuntimes) {
  const std::string missing = "not exported by name on Windows 95";
  const std::string stub = "a stub on Windows 9x that fails when called";
  EXPECT_EQ(Fault("advapi32.dll", "RegDeleteKeyExA"), missing);
  EXPECT_EQ(Fault("comctl32.dll", "InitCommonControlsEx"), missing);
  EXPECT_EQ(Fault("comctl32.dll", "SetWindowSubclass"), missing);
  EXPECT_EQ(Fault("kernel32.dll", "GetTickCount64"), missing);
  EXPECT_EQ(Fault("kernel32.dll", "GetModuleHandleW"), stub);
  EXPECT_EQ(Fault("KERNEL32.DLL", "CreateSemaphoreW"), stub);
  EXPECT_EQ(Fault("kernel32.dll", "LoadLibraryW"), stub);
  // Function names are case-sensitive, as the loader compares them.
  EXPECT_EQ(Fault("kernel32.dll", "getversion"), missing);
}

TEST(ImportAuditTest, RefusesOrdinalsAndUnknownDlls) {
  EXPECT_EQ(Fault("comctl32.dll", "", 410),
            "imported by ordinal; Windows 95 must export it by name");
  EXPECT_EQ(Fault("uxtheme.dll", "OpenThemeData"), "a DLL that Windows 95 does not have");
  EXPECT_EQ(audit::ImportName(pe::Import{"COMCTL32.dll", "", 410, false}), "comctl32.dll!#410");
}

TEST(ImportAuditTest, HeaderFaultsNameEachProblem) {
  pe::Image good;
  good.machine = pe::kMachineI386;
  good.magic = pe::kMagicPe32;
  good.subsystem = pe::kSubsystemGui;
  good.subsystem_version = {4, 0};
  good.os_version = {4, 0};
  EXPECT_TRUE(audit::HeaderFaults(good, 1000, 1000).empty());
  EXPECT_TRUE(audit::HeaderFaults(good, 5000, 0).empty());

  pe::Image bad = good;
  bad.magic = pe::kMagicPe32Plus;
  bad.machine = 0x8664;
  bad.subsystem = 1;
  bad.subsystem_version = {5, 2};
  bad.os_version = {6, 0};
  EXPECT_EQ(audit::HeaderFaults(bad, 1001, 1000),
            (std::vector<std::string>{
                "a PE32+ (64-bit) image; Windows 9x loads PE32 only",
                "machine 0x8664, not i386 (0x14c)",
                "subsystem 1, neither GUI nor console",
                "subsystem version 5.2; Windows 9x loads 4.x at most",
                "OS version 6.0; Windows 9x loads 4.x at most",
                "size 1001 bytes, above the limit of 1000",
            }));
}

}  // namespace
