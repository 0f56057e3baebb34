// The work the file benchmarks time, shared by the Google Benchmark targets (native build,
// portable backend) and the Windows timing program (the shipped compilers and runtime, Win32
// backend): a full databank and the floors of its save and load, and boot files with the floor
// of their rewrite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/databank_file.h"
#include "core/messages.h"
#include "platform/file_system.h"

namespace bench {

constexpr int kDatabankRecords = core::UserTable::kSlots * core::kRecordsPerEntry;

class NoMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

// Every slot taken: the largest databank there can be.
void FillTable(core::UserTable& table);

// A full databank saved, as the start of a load.
void SaveFullDatabank(platform::FileSystem& files);

// The floor of any save that survives a crash: the databank's number of raw records written once
// to a new file beside it, flushed, and put in its place.
void WriteRawRecords(platform::FileSystem& files);

// The floor of the load: the same number of raw record reads, with the end test the load makes
// once per entry.
void ReadRawRecords(platform::FileSystem& files);

// A boot file of about `size` bytes: the usual head and options, then padding lines of 70 bytes
// as Windows pads the file, with the key line at the very end so the whole tail is searched.
std::string BootFile(std::size_t size);

void PlaceFile(platform::FileSystem& files, const std::string& path, const std::string& bytes);

// Where the third of CopyThreeTimes' copies goes; the first two are the rewrite's working files.
inline constexpr char kThirdCopyPath[] = "c:\\Msdos3.zvk";

// The floor of the boot option rewrite, which reads and writes the file through two working files
// and keeps the old content for a failed rename: three plain copies in blocks of the text files'
// size, to fresh files each time as the rewrite's own are.
void CopyThreeTimes(platform::FileSystem& files, std::vector<char>& block);

}  // namespace bench
