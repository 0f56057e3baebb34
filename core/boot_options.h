// The boot option editor: switches one key of the options section of the boot configuration file
// "c:\Msdos.sys" ("BOOTSAFE=" for safe-mode booting, "BOOTKEYS=" for the start-up hot keys) by
// rewriting the file in three passes through two working files and then putting the result in
// its place with the file's protective attributes.
//
// The new file is flushed before anything happens to the old one, and the old one is never
// deleted before the new one has its name: it steps aside under a backup name, the new file takes
// the name, and only then does the backup go. A crash at any point leaves a state that the next
// start (RecoverBootConfig) tells by the working files that exist, and finishes or undoes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "platform/file_system.h"

namespace core {

inline constexpr char kBootConfigPath[] = "c:\\Msdos.sys";
// Passes 1 and 2 write here, in the root of drive C: beside the new file: the tool writes nothing
// into its own folder, which may be a floppy or a CD.
inline constexpr char kBootBufferPath[] = "c:\\tempbuffer.zvk";
// Pass 3 writes the new file here. The rename names it with a capital drive letter; file names
// ignore letter case, so both name the same file.
inline constexpr char kBootNewPath[] = "c:\\Msdos2.zvk";
inline constexpr char kBootNewPathForRename[] = "C:\\Msdos2.zvk";
// The old file while the new one takes its name.
inline constexpr char kBootOldPath[] = "c:\\Msdos.zvk";

inline constexpr std::string_view kBootSafeKey = "BOOTSAFE=";
inline constexpr std::string_view kBootKeysKey = "BOOTKEYS=";
inline constexpr std::string_view kOptionsHeader = "[OPTIONS]";
// Read-only + hidden + system + archive, as the file is found on a Windows 9x machine.
constexpr std::uint32_t kBootConfigAttributes = 39;

inline constexpr char kCouldNotRenameMessage[] = "Could not rename";
inline constexpr char kBootRestoredMessage[] =
    "c:\\Msdos.sys has been restored after a change that was cut off.";

// Finishes or undoes a rewrite that a crash cut off: puts c:\Msdos.sys back from the working
// files when it is missing, gives it its attributes 39 again, and removes the working files.
// Shows kBootRestoredMessage when it had to repair c:\Msdos.sys. With no working file on the disk
// it only looks for them.
void RecoverBootConfig(platform::FileSystem& files, MessageSink& messages);

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
  // Returns true when the new file took the place of the old one. When a rename fails it shows
  // "Could not rename" and returns false; "c:\Msdos.sys" then holds its old content, with the
  // attributes 39 (or, should even the way back fail, the next start puts it back).
  // A failed open, read, write, close or erase raises IoError before "c:\Msdos.sys" is touched;
  // the working files this call created are removed again.
  bool SetBootOption(std::string_view key_prefix, std::uint8_t value);

 private:
  struct WorkingFiles {
    bool buffer = false;
    bool new_file = false;
  };

  bool CopyThroughBuffer(const std::string& key_prefix, bool enable, WorkingFiles& created);
  void WriteNewFile(const std::string& key_line, bool found, WorkingFiles& created);
  bool Replace();

  platform::FileSystem& files_;
  MessageSink& messages_;
};

}  // namespace core
