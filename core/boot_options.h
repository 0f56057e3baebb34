// The boot option editor: switches one key of the options section of the boot configuration file
// "c:\Msdos.sys" ("BOOTSAFE=" for safe-mode booting, "BOOTKEYS=" for the start-up hot keys) by
// rewriting the file in three passes through two working files and then putting the result in
// its place with the file's protective attributes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "platform/file_system.h"

namespace core {

inline constexpr char kBootConfigPath[] = "c:\\Msdos.sys";
// Passes 1 and 2 write here; the name has no directory part, so it lies in the current
// directory of the process.
inline constexpr char kBootBufferPath[] = "tempbuffer.zvk";
// Pass 3 writes the new file here. The rename names it with a capital drive letter; file names
// ignore letter case, so both name the same file.
inline constexpr char kBootNewPath[] = "c:\\Msdos2.zvk";
inline constexpr char kBootNewPathForRename[] = "C:\\Msdos2.zvk";

inline constexpr std::string_view kBootSafeKey = "BOOTSAFE=";
inline constexpr std::string_view kBootKeysKey = "BOOTKEYS=";
inline constexpr std::string_view kOptionsHeader = "[OPTIONS]";
// Read-only + hidden + system + archive, as the file is found on a Windows 9x machine.
constexpr std::uint32_t kBootConfigAttributes = 39;

inline constexpr char kCouldNotRenameMessage[] = "Could not rename";

// True for a line that upper-cases to "[OPTIONS]" exactly: no blank before or after.
bool IsOptionsHeader(std::string_view line);

class BootOptionEditor {
 public:
  BootOptionEditor(platform::FileSystem& files, MessageSink& messages)
      : files_(files), messages_(messages) {}

  // Sets the key (a prefix like "BOOTSAFE=", in upper case, the equals sign included) to value
  // 0 or 1 (any other value counts as 1). Value 0 replaces every key line of the tail by
  // key + "0"; value 1 drops them. When the tail held no key line, key + value is inserted after
  // every options header. The head, up to and including the first options header, keeps its
  // letter case; the rest of the tail comes out upper-cased.
  //
  // Returns true when the new file took the place of the old one. When the rename fails it shows
  // "Could not rename" and returns false; "c:\Msdos.sys" then holds its old content in any case.
  // A failed open, read, write, close or erase raises IoError before "c:\Msdos.sys" is touched;
  // the working files this call created are removed again.
  bool SetBootOption(std::string_view key_prefix, std::uint8_t value);

 private:
  struct WorkingFiles {
    bool buffer = false;
    bool new_file = false;
  };
  // A whole file in memory, read straight into storage that is not zero-filled first.
  struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
  };

  bool CopyThroughBuffer(const std::string& key_prefix, bool enable, WorkingFiles& created);
  void WriteNewFile(const std::string& key_line, bool found, WorkingFiles& created);
  FileBytes ReadWholeFile(const std::string& path);
  bool WriteWholeFile(const std::string& path, std::string_view bytes);
  bool Replace(const FileBytes& old_content);

  platform::FileSystem& files_;
  MessageSink& messages_;
};

}  // namespace core
