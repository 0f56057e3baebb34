// The Windows rules that the portable drives keep, checked on each of them through the
// FileSystem interface: the drive on host files and the drive in memory must give the same
// answers and the same error codes, since the fuzz targets run on the one and the unit tests on
// the other.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/boot_options.h"
#include "core/databank_file.h"
#include "core/errors.h"
#include "platform/portable/memory_file_system.h"
#ifndef _WIN32
#include "platform/portable/scratch_drive.h"
#endif

namespace platform {
namespace {

// A drive C: with the directory "windows\system" and the root as current directory.
class Drive {
 public:
  virtual ~Drive() = default;
  virtual FileSystem& files() = 0;
};

class MemoryDrive : public Drive {
 public:
  MemoryDrive() { files_.MakeDirectory("c:\\windows\\system"); }
  FileSystem& files() override { return files_; }

 private:
  MemoryFileSystem files_;
};

#ifndef _WIN32
class HostDrive : public Drive {
 public:
  FileSystem& files() override { return scratch_.files(); }

 private:
  ScratchDrive scratch_;
};
#endif

struct DriveKind {
  const char* name;
  std::function<std::unique_ptr<Drive>()> make;
};

void PrintTo(const DriveKind& kind, std::ostream* out) {
  *out << kind.name;
}

class DriveRulesTest : public ::testing::TestWithParam<DriveKind> {
 protected:
  DriveRulesTest() : drive_(GetParam().make()), files_(drive_->files()) {}

  FileHandle OpenOk(const std::string& path, Access access, Disposition disposition) {
    FileHandle handle = kNoHandle;
    EXPECT_EQ(files_.Open(path, access, disposition, handle), kNoError) << path;
    return handle;
  }
  void Put(const std::string& path, const std::string& bytes) {
    const FileHandle handle = OpenOk(path, Access::kWrite, Disposition::kCreateAlways);
    std::uint32_t done = 0;
    EXPECT_EQ(files_.Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), done),
              kNoError);
    EXPECT_EQ(files_.Close(handle), kNoError);
  }
  std::string ReadAll(FileHandle handle) {
    EXPECT_EQ(files_.Seek(handle, 0), kNoError);
    std::string bytes(64, '\0');
    std::uint32_t done = 0;
    EXPECT_EQ(files_.Read(handle, bytes.data(), 64, done), kNoError);
    bytes.resize(done);
    return bytes;
  }
  std::string Get(const std::string& path) {
    const FileHandle handle = OpenOk(path, Access::kRead, Disposition::kOpenExisting);
    std::string bytes = ReadAll(handle);
    EXPECT_EQ(files_.Close(handle), kNoError);
    return bytes;
  }
  ErrorCode OpenError(const std::string& path, Access access, Disposition disposition) {
    FileHandle handle = kNoHandle;
    const ErrorCode error = files_.Open(path, access, disposition, handle);
    if (error == kNoError) {
      files_.Close(handle);
    } else {
      EXPECT_EQ(handle, kNoHandle);
    }
    return error;
  }
  std::uint32_t Attributes(const std::string& path) {
    std::uint32_t attributes = 0;
    EXPECT_TRUE(files_.GetAttributes(path, attributes)) << path;
    return attributes;
  }

  std::unique_ptr<Drive> drive_;
  FileSystem& files_;
};

TEST_P(DriveRulesTest, NamesAreFoundWithoutLetterCaseAndPathsResolveLikeWindowsPaths) {
  Put("c:\\Windows\\System\\QslSysTbl.dll", "users");
  EXPECT_TRUE(files_.FileExists("C:\\WINDOWS\\SYSTEM\\qslsystbl.DLL"));
  EXPECT_EQ(Get("c:/windows/system/QSLSYSTBL.dll"), "users");
  EXPECT_EQ(Get("\\windows\\.\\system\\..\\system\\qslsystbl.dll"), "users");
  // Relative to the current directory, the root here; ".." never climbs above it.
  EXPECT_EQ(Get("..\\..\\windows\\system\\QslSysTbl.dll"), "users");
  EXPECT_FALSE(files_.FileExists("c:\\windows"));  // a directory is no file

  EXPECT_EQ(OpenError("d:\\Msdos.sys", Access::kRead, Disposition::kOpenExisting),
            kErrorPathNotFound);
  EXPECT_EQ(OpenError("c:\\Ms?dos.sys", Access::kWrite, Disposition::kCreateAlways),
            kErrorInvalidName);
  EXPECT_EQ(OpenError("c:\\Msdos.sys", Access::kRead, Disposition::kOpenExisting),
            kErrorFileNotFound);
  EXPECT_EQ(OpenError("c:\\nowhere\\Msdos.sys", Access::kWrite, Disposition::kCreateAlways),
            kErrorPathNotFound);
  EXPECT_EQ(OpenError("c:\\windows\\system", Access::kRead, Disposition::kOpenExisting),
            kErrorAccessDenied);
  EXPECT_EQ(OpenError("c:\\", Access::kRead, Disposition::kOpenExisting), kErrorAccessDenied);
}

TEST_P(DriveRulesTest, HandlesReadAndWriteWhatTheirAccessAllowsAndCloseOnce) {
  Put("c:\\Msdos.sys", "abc");
  const FileHandle reader = OpenOk("c:\\Msdos.sys", Access::kRead, Disposition::kOpenExisting);
  std::uint32_t done = 7;
  EXPECT_EQ(files_.Write(reader, "x", 1, done), kErrorInvalidHandle);
  EXPECT_EQ(done, 0u);
  const FileHandle writer = OpenOk("c:\\Msdos.sys", Access::kWrite, Disposition::kOpenExisting);
  char byte = 0;
  EXPECT_EQ(files_.Read(writer, &byte, 1, done), kErrorInvalidHandle);

  // A write past the end fills the gap with zero bytes; a read at the end reads nothing.
  EXPECT_EQ(files_.Seek(writer, 5), kNoError);
  EXPECT_EQ(files_.Write(writer, "z", 1, done), kNoError);
  std::uint64_t size = 0;
  EXPECT_EQ(files_.Size(reader, size), kNoError);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(ReadAll(reader), std::string("abc\0\0z", 6));
  EXPECT_EQ(files_.Read(reader, &byte, 1, done), kNoError);
  EXPECT_EQ(done, 0u);
  std::uint64_t position = 0;
  EXPECT_EQ(files_.Position(reader, position), kNoError);
  EXPECT_EQ(position, 6u);

  EXPECT_EQ(files_.Close(writer), kNoError);
  EXPECT_EQ(files_.Close(writer), kErrorInvalidHandle);
  EXPECT_EQ(files_.Size(writer, size), kErrorInvalidHandle);
  EXPECT_EQ(files_.Close(kNoHandle), kErrorInvalidHandle);
  EXPECT_EQ(files_.Close(reader), kNoError);
}

TEST_P(DriveRulesTest, HandlesShareTheFileThroughTruncationAndDeletion) {
  Put("c:\\Msdos.sys", "old text");
  const FileHandle first = OpenOk("c:\\Msdos.sys", Access::kReadWrite, Disposition::kOpenExisting);
  const FileHandle second = OpenOk("C:\\MSDOS.SYS", Access::kWrite, Disposition::kCreateAlways);
  EXPECT_EQ(ReadAll(first), "") << "a create truncates the file for every open handle";
  std::uint32_t done = 0;
  EXPECT_EQ(files_.Write(second, "new", 3, done), kNoError);
  EXPECT_EQ(ReadAll(first), "new");

  EXPECT_TRUE(files_.DeleteByName("c:\\msdos.sys"));
  EXPECT_FALSE(files_.FileExists("c:\\Msdos.sys"));
  EXPECT_EQ(ReadAll(first), "new") << "an open handle keeps the bytes of a deleted file";
  EXPECT_EQ(files_.Close(first), kNoError);
  EXPECT_EQ(files_.Close(second), kNoError);
  EXPECT_FALSE(files_.DeleteByName("c:\\Msdos.sys"));
  EXPECT_EQ(files_.Erase("c:\\Msdos.sys"), kErrorFileNotFound);
}

TEST_P(DriveRulesTest, AttributeBitsRefuseWhatWindowsRefuses) {
  Put("c:\\Msdos.sys", "boot");
  EXPECT_EQ(Attributes("c:\\Msdos.sys"), kAttributeArchive) << "a create sets the archive bit";
  ASSERT_TRUE(files_.SetAttributes("c:\\MSDOS.SYS", 39));
  EXPECT_EQ(Attributes("c:\\Msdos.sys"), 39u);

  // Read-only: no writing, no deleting, no copy over it; reading is fine.
  EXPECT_EQ(OpenError("c:\\Msdos.sys", Access::kReadWrite, Disposition::kOpenExisting),
            kErrorAccessDenied);
  EXPECT_EQ(OpenError("c:\\Msdos.sys", Access::kRead, Disposition::kOpenExisting), kNoError);
  EXPECT_FALSE(files_.DeleteByName("c:\\Msdos.sys"));
  EXPECT_EQ(files_.Erase("c:\\Msdos.sys"), kErrorAccessDenied);
  Put("c:\\Msdos2.zvk", "new");
  EXPECT_FALSE(files_.CopyReplacing("c:\\Msdos2.zvk", "c:\\Msdos.sys"));

  // Hidden (or system) without read-only: it may be opened for writing but not truncated by a
  // create, and a copy does not replace it either.
  for (const std::uint32_t bit : {kAttributeHidden, kAttributeSystem}) {
    ASSERT_TRUE(files_.SetAttributes("c:\\Msdos.sys", bit));
    EXPECT_EQ(OpenError("c:\\Msdos.sys", Access::kWrite, Disposition::kOpenExisting), kNoError);
    EXPECT_EQ(OpenError("c:\\Msdos.sys", Access::kWrite, Disposition::kCreateAlways),
              kErrorAccessDenied);
    EXPECT_FALSE(files_.CopyReplacing("c:\\Msdos2.zvk", "c:\\Msdos.sys"));
  }
  EXPECT_EQ(Get("c:\\Msdos.sys"), "boot");

  // No bit reads as "normal"; a copy takes its source's bits and the archive bit.
  ASSERT_TRUE(files_.SetAttributes("c:\\Msdos.sys", kAttributeNormal));
  EXPECT_EQ(Attributes("c:\\Msdos.sys"), kAttributeNormal);
  ASSERT_TRUE(files_.SetAttributes("c:\\Msdos2.zvk", kAttributeHidden));
  EXPECT_TRUE(files_.CopyReplacing("c:\\Msdos2.zvk", "c:\\Msdos.sys"));
  EXPECT_EQ(Get("c:\\Msdos.sys"), "new");
  EXPECT_EQ(Attributes("c:\\Msdos.sys"), kAttributeHidden | kAttributeArchive);
  EXPECT_FALSE(files_.CopyReplacing("c:\\Msdos2.zvk", "c:\\windows"));
  EXPECT_FALSE(files_.CopyReplacing("c:\\missing.txt", "c:\\copy.txt"));
  EXPECT_FALSE(files_.SetAttributes("c:\\missing.txt", 0));
  std::uint32_t attributes = 0;
  EXPECT_FALSE(files_.GetAttributes("c:\\windows", attributes));
}

TEST_P(DriveRulesTest, RenameNeverReplacesAnExistingNameAndKeepsTheAttributes) {
  Put("c:\\Msdos.sys", "old");
  Put("c:\\Msdos2.zvk", "new");
  ASSERT_TRUE(files_.SetAttributes("c:\\Msdos2.zvk", kAttributeSystem));
  EXPECT_FALSE(files_.Rename("c:\\Msdos2.zvk", "c:\\MSDOS.SYS"));
  EXPECT_FALSE(files_.Rename("C:\\Msdos2.zvk", "c:\\msdos2.ZVK")) << "its own name counts too";
  EXPECT_FALSE(files_.Rename("c:\\Msdos2.zvk", "c:\\windows"));
  EXPECT_FALSE(files_.Rename("c:\\Msdos2.zvk", "c:\\nowhere\\Msdos.sys"));
  EXPECT_FALSE(files_.Rename("c:\\missing.txt", "c:\\other.txt"));
  EXPECT_EQ(Get("c:\\Msdos.sys"), "old");

  ASSERT_TRUE(files_.DeleteByName("c:\\Msdos.sys"));
  EXPECT_TRUE(files_.Rename("C:\\MSDOS2.ZVK", "c:\\windows\\..\\Msdos.sys"));
  EXPECT_FALSE(files_.FileExists("c:\\Msdos2.zvk"));
  EXPECT_EQ(Get("c:\\Msdos.sys"), "new");
  EXPECT_EQ(Attributes("c:\\Msdos.sys"), kAttributeSystem);
}

std::string KindName(const ::testing::TestParamInfo<DriveKind>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    BothDrives, DriveRulesTest,
    ::testing::Values(
#ifndef _WIN32
        DriveKind{"HostFiles", [] { return std::unique_ptr<Drive>(new HostDrive); }},
#endif
        DriveKind{"Memory", [] { return std::unique_ptr<Drive>(new MemoryDrive); }}),
    KindName);

// Only the drive in memory can count the handles open: the tool's file operations close what
// they open, on success and on the errors that end them before anything was opened.
TEST(MemoryDriveTest, TheToolClosesEveryFileItOpens) {
  MemoryFileSystem files;
  ASSERT_TRUE(files.MakeDirectory("c:\\windows\\system"));
  struct : core::MessageSink {
    void ShowMessage(const std::string&) override {}
  } messages;
  core::BootOptionEditor editor(files, messages);
  EXPECT_THROW(editor.SetBootOption(core::kBootSafeKey, 1), core::IoError);
  EXPECT_EQ(files.OpenHandles(), 0);

  FileHandle handle = kNoHandle;
  ASSERT_EQ(files.Open(core::kBootConfigPath, Access::kWrite, Disposition::kCreateAlways, handle),
            kNoError);
  std::uint32_t done = 0;
  ASSERT_EQ(files.Write(handle, "[Options]\r\n", 11, done), kNoError);
  ASSERT_EQ(files.Close(handle), kNoError);
  EXPECT_TRUE(editor.SetBootOption(core::kBootSafeKey, 1));
  EXPECT_EQ(files.OpenHandles(), 0);

  core::UserTable table;
  {
    core::DatabankFile databank(files, table);
    databank.OpenDatabank();
    EXPECT_EQ(files.OpenHandles(), 1) << "the databank stays open for the whole run";
    ASSERT_TRUE(table.AppendUser("Administrator", "root"));
    EXPECT_EQ(databank.SaveDatabank(), core::SaveOutcome::kSaved);
    // The save closes it, to put the new file in its place; the run ends then.
    EXPECT_EQ(files.OpenHandles(), 0);
  }
  {
    core::DatabankFile databank(files, table);
    databank.OpenDatabank();
    databank.DeleteDatabank();
    EXPECT_EQ(files.OpenHandles(), 0);
  }
}

}  // namespace
}  // namespace platform
