// The tool started from a write-protected floppy or a CD: its folder refuses every write, and
// help, the readme and the login log view still work while nothing in the folder changes.
//
// Under Wine the tests run as root, for whom neither the read-only attribute nor the Unix
// permissions stop a write. The folder's files are therefore held open without write or delete
// sharing, which refuses any write to them; and the folder is watched for changes while the
// tool runs, which shows any file made there, even one made and removed again (as a working file
// would be), and its listing (names, sizes, dates) is compared before and after.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "e2e/driver.h"
#include "ui/control_ids.h"

namespace {

constexpr char kDiskFolder[] = "c:\\korvane_disk";
constexpr char kRecorderType[] = "KorvaneE2E.DiskRecorder";
const char* const kDiskFiles[] = {"korvane_config.exe", "help.html", "readme.txt"};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The folder of the program under test, where the build puts help.html and readme.txt.
std::string ToolFolder() {
  const std::string& tool = e2e::ToolPath();
  return tool.substr(0, tool.find_last_of('\\'));
}

// One line per file of the folder: name, size and last write time.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> lines;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return lines;
  }
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") {
      lines.push_back(name + " " + std::to_string(found.nFileSizeLow) + " " +
                      std::to_string(found.ftLastWriteTime.dwHighDateTime) + ":" +
                      std::to_string(found.ftLastWriteTime.dwLowDateTime));
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Every change of a folder's entries (names, sizes, attributes, write times) from the
// object's making on, as the system reports it.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder) {
    folder_ = CreateFileA(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    overlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watching_ = folder_ != INVALID_HANDLE_VALUE &&
                ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, kWhat, nullptr,
                                      &overlapped_, nullptr);
  }
  ~FolderWatch() {
    if (folder_ != INVALID_HANDLE_VALUE) {
      CancelIo(folder_);
      CloseHandle(folder_);
    }
    CloseHandle(overlapped_.hEvent);
  }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;
  bool watching() const { return watching_; }

  // The names that changed, after a short wait for late reports; empty when none did.
  std::vector<std::string> Changes() {
    std::vector<std::string> names;
    DWORD size = 0;
    if (WaitForSingleObject(overlapped_.hEvent, e2e::kQuietMs) != WAIT_OBJECT_0 ||
        !GetOverlappedResult(folder_, &overlapped_, &size, FALSE)) {
      return names;
    }
    if (size == 0) {
      names.push_back("(more changes than the buffer holds)");
    }
    for (DWORD at = 0; at < size;) {
      const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
      std::string name;
      for (DWORD i = 0; i < record->FileNameLength / sizeof(WCHAR); ++i) {
        name += static_cast<char>(record->FileName[i]);
      }
      names.push_back(name);
      if (record->NextEntryOffset == 0) {
        break;
      }
      at += record->NextEntryOffset;
    }
    return names;
  }

 private:
  static constexpr DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                 FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_ATTRIBUTES |
                                 FILE_NOTIFY_CHANGE_LAST_WRITE;
  HANDLE folder_ = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped_{};
  alignas(DWORD) BYTE buffer_[4096];
  bool watching_ = false;
};

// The disk: the three release files copied into kDiskFolder and held open, shared for reading
// only, for the life of the object; then closed and removed.
class WriteProtectedDisk {
 public:
  testing::AssertionResult Make() {
    CreateDirectoryA(kDiskFolder, nullptr);
    for (const char* name : kDiskFiles) {
      const std::string from = ToolFolder() + "\\" + name;
      const std::string to = Path(name);
      if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        return testing::AssertionFailure()
               << "cannot copy " << from << " to " << to << ", error " << GetLastError();
      }
      HANDLE held = CreateFileA(to.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (held == INVALID_HANDLE_VALUE) {
        return testing::AssertionFailure() << "cannot hold " << to << ", error " << GetLastError();
      }
      held_.push_back(held);
    }
    return testing::AssertionSuccess();
  }

  ~WriteProtectedDisk() {
    for (HANDLE held : held_) {
      CloseHandle(held);
    }
    for (const char* name : kDiskFiles) {
      DeleteFileA(Path(name).c_str());
    }
    RemoveDirectoryA(kDiskFolder);
  }

  static std::string Path(const std::string& name) {
    return std::string(kDiskFolder) + "\\" + name;
  }

 private:
  std::vector<HANDLE> held_;
};

// The open commands of ".html" and ".txt" files pointed at a recorder that appends the name it
// is given to a file outside the disk, so nothing is really started; put back afterwards.
class OpenRecorder {
 public:
  explicit OpenRecorder(std::string record) : record_(std::move(record)) {
    const std::string command = "C:\\windows\\system32\\cmd.exe /c echo %1>>" + record_;
    ok_ = Set(std::string(kRecorderType) + "\\shell\\open\\command", command) &&
          Set(".html", kRecorderType) && Set(".txt", kRecorderType);
  }
  ~OpenRecorder() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->had) {
        RegSetValueA(HKEY_CLASSES_ROOT, it->key.c_str(), REG_SZ, it->value.c_str(),
                     static_cast<DWORD>(it->value.size()));
      } else {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, it->key.c_str());
      }
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kRecorderType);
    DeleteFileA(record_.c_str());
  }
  OpenRecorder(const OpenRecorder&) = delete;
  OpenRecorder& operator=(const OpenRecorder&) = delete;
  bool ok() const { return ok_; }

  // Waits for the recorder's next line and gives it, quotes and trailing blanks taken off.
  testing::AssertionResult Next(std::string* opened) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i, Sleep(50)) {
      std::string bytes;
      lines.clear();
      if (e2e::FileExists(record_) && e2e::ReadFileBytes(record_, &bytes)) {
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
          lines.push_back(bytes.substr(start, end - start));
        }
      }
      if (lines.size() > seen_) {
        break;
      }
    }
    if (lines.size() <= seen_) {
      return testing::AssertionFailure() << "the shell was handed nothing";
    }
    std::string line = lines[seen_++];
    line.erase(std::remove(line.begin(), line.end(), '"'), line.end());
    while (!line.empty() && line.back() == ' ') {
      line.pop_back();
    }
    *opened = line;
    return testing::AssertionSuccess();
  }

 private:
  struct Saved {
    std::string key;
    std::string value;
    bool had;
  };
  bool Set(const std::string& key, const std::string& value) {
    char old[1024];
    LONG size = sizeof old;
    const bool had = RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), old, &size) == ERROR_SUCCESS;
    saved_.push_back({key, had ? old : "", had});
    return RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
  }

  std::string record_;
  std::vector<Saved> saved_;
  std::size_t seen_ = 0;
  bool ok_ = false;
};

class DiskE2E : public e2e::ToolTest {};

TEST_F(DiskE2E, RunsFromAFolderThatRefusesWritesAndWritesNothingThere) {
  WriteProtectedDisk disk;
  ASSERT_TRUE(disk.Make());
  // The hold really refuses: no write and no delete.
  for (const char* name : kDiskFiles) {
    const std::string path = WriteProtectedDisk::Path(name);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(INVALID_HANDLE_VALUE, writer) << path << " could be opened for writing";
    ASSERT_FALSE(DeleteFileA(path.c_str())) << path << " could be deleted";
  }
  const std::vector<std::string> before = Listing(kDiskFolder);
  ASSERT_EQ(3u, before.size());
  FolderWatch watch(kDiskFolder);
  ASSERT_TRUE(watch.watching()) << "cannot watch " << kDiskFolder << ", error " << GetLastError();

  OpenRecorder recorder(std::string(e2e::Tool::kDefaultWorkDir) + "\\opened.txt");
  ASSERT_TRUE(recorder.ok());
  const std::string log = "12.03.2003 10:15 Administrator\r\n";
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kLogPath, log));
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kMsdosPath, "[Options]\r\n"));

  // Started as Explorer starts a program on a disk: from its folder, which is also the current
  // directory.
  ASSERT_TRUE(tool_.Start(kDiskFolder, WriteProtectedDisk::Path("korvane_config.exe")));
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));

  const std::string folder = Lower(kDiskFolder);
  std::string opened;
  ASSERT_TRUE(tool_.ChooseMenu(IDM_OPENHELP1));
  ASSERT_TRUE(recorder.Next(&opened));
  EXPECT_EQ(folder + "\\help.html", Lower(opened)) << "help from the disk";
  ASSERT_TRUE(tool_.ChooseMenu(IDM_README1));
  ASSERT_TRUE(recorder.Next(&opened));
  EXPECT_EQ(folder + "\\readme.txt", Lower(opened)) << "the readme from the disk";

  // A first start: the administrator features are there without a login.
  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON1));
  ASSERT_TRUE(recorder.Next(&opened));
  EXPECT_EQ(Lower(e2e::kLogCopyPath), Lower(opened)) << "the log copy, on c:\\";
  std::string copy;
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kLogCopyPath, &copy));
  EXPECT_EQ(log, copy);
  EXPECT_TRUE(tool_.ExpectNoMessageBox());

  // The boot rewrite keeps its working files in c:\, beside c:\Msdos.sys.
  ASSERT_TRUE(e2e::Click(main, IDC_NO_SAFE_MODE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Safe mode disabled"));
  std::string boot;
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kMsdosPath, &boot));
  EXPECT_EQ("[Options]\r\nBOOTSAFE=0\r\n", boot);

  // Quit saves the databank, in the system folder.
  std::string copyright;
  ASSERT_TRUE(e2e::ControlText(main, IDC_LABEL2, &copyright));
  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
  ASSERT_TRUE(tool_.WaitForExit());
  EXPECT_TRUE(e2e::FileExists(e2e::kDatabankPath));

  EXPECT_EQ(std::vector<std::string>(), watch.Changes()) << "the tool wrote into its own folder";
  EXPECT_EQ(before, Listing(kDiskFolder)) << "the tool wrote into its own folder";
  for (const char* name : kDiskFiles) {
    std::string on_disk, built;
    ASSERT_TRUE(e2e::ReadFileBytes(WriteProtectedDisk::Path(name), &on_disk));
    ASSERT_TRUE(e2e::ReadFileBytes(ToolFolder() + "\\" + name, &built));
    EXPECT_TRUE(on_disk == built) << name << " changed on the disk";
  }
}

}  // namespace
