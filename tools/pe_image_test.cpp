// Reading headers and import tables of PE images built in memory.
#include "pe_image.h"

#include <gtest/gtest.h>

#include "pe_builder_test_support.h"

namespace {

using pe_test::BuildImage;
using pe_test::ImageSpec;

std::vector<std::string> Names(const pe::Image& image, bool delay_loaded) {
  std::vector<std::string> names;
  for (const pe::Import& import : image.imports) {
    if (import.delay_loaded == delay_loaded) {
      names.push_back(
          import.dll + "!" +
          (import.function.empty() ? "#" + std::to_string(import.ordinal) : import.function));
    }
  }
  return names;
}

TEST(PeImageTest, ReadsHeadersAndImportsByNameAndOrdinal) {
  ImageSpec layout;
  layout.subsystem_major = 5;
  layout.subsystem_minor = 1;
  layout.os_major = 6;
  layout.os_minor = 2;
  layout.imports = {{"KERNEL32.dll", {"GetVersion", "CloseHandle"}}, {"comctl32.dll", {"#410"}}};
  const pe::Image image = pe::Read(BuildImage(layout));
  EXPECT_EQ(image.machine, pe::kMachineI386);
  EXPECT_EQ(image.magic, pe::kMagicPe32);
  EXPECT_EQ(image.subsystem, pe::kSubsystemGui);
  EXPECT_EQ(image.subsystem_version.major, 5);
  EXPECT_EQ(image.subsystem_version.minor, 1);
  EXPECT_EQ(image.os_version.major, 6);
  EXPECT_EQ(image.os_version.minor, 2);
  EXPECT_EQ(Names(image, false),
            (std::vector<std::string>{"KERNEL32.dll!GetVersion", "KERNEL32.dll!CloseHandle",
                                      "comctl32.dll!#410"}));
  EXPECT_TRUE(Names(image, true).empty());
}

TEST(PeImageTest, ReadsDelayImportsThroughTheirDirectoryOrWithoutIt) {
  for (bool directory : {true, false}) {
    ImageSpec layout;
    layout.imports = {{"kernel32.dll", {"GetVersion"}}};
    layout.delay_imports = {{"user32.dll", {"AnimateWindow", "#17"}}};
    layout.delay_directory = directory;
    const pe::Image image = pe::Read(BuildImage(layout));
    EXPECT_EQ(Names(image, false), std::vector<std::string>{"kernel32.dll!GetVersion"});
    EXPECT_EQ(Names(image, true),
              (std::vector<std::string>{"user32.dll!AnimateWindow", "user32.dll!#17"}))
        << (directory ? "with" : "without") << " the directory";
  }
}

TEST(PeImageTest, APe32PlusImageGivesItsHeadersOnly) {
  ImageSpec layout;
  layout.pe32_plus = true;
  layout.machine = 0x8664;
  const pe::Image image = pe::Read(BuildImage(layout));
  EXPECT_EQ(image.magic, pe::kMagicPe32Plus);
  EXPECT_EQ(image.machine, 0x8664);
  EXPECT_TRUE(image.imports.empty());
}

TEST(PeImageTest, RefusesWhatIsNoPeImage) {
  EXPECT_THROW(pe::Read(""), pe::FormatError);
  EXPECT_THROW(pe::Read("#!/bin/sh\nexit 0\n"), pe::FormatError);
  std::string image = BuildImage(ImageSpec{});
  image[0x40] = 'X';  // the PE signature
  EXPECT_THROW(pe::Read(image), pe::FormatError);
}

TEST(PeImageTest, RefusesTablesThatPointOutsideTheFile) {
  ImageSpec layout;
  layout.imports = {{"kernel32.dll", {"GetVersion"}}};
  const std::string whole = BuildImage(layout);
  // Cut inside the section: the tables' RVAs now lead past the end of the file.
  EXPECT_THROW(pe::Read(whole.substr(0, 0x204)), pe::FormatError);
}

}  // namespace
