// Fuzzes the databank loader with arbitrary file contents, then saves and loads again. Checked:
// no crash and no access outside the table (the sanitizers), at most 255 users loaded with the
// rest carried as surplus, every slot holding the decoded data record of its entry, a short
// last entry reported as "Read beyond end of file" and nothing else raised, and a save that
// writes every entry back whole with its carried bytes and fresh filler.
//
// Input: the databank file as it stands. An input starting with a byte 0xF0..0xFF stands for
// 248..263 generated entries followed by the rest of the input, so that files around the
// table's capacity are reached without inputs of 400 KB.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/databank_file.h"
#include "core/errors.h"
#include "fuzz/scratch_drive.h"

namespace {

constexpr std::size_t kRecordSize = core::kRecordSize;
constexpr std::size_t kEntrySize = kRecordSize * core::kRecordsPerEntry;
constexpr std::size_t kDecoysSize = 2 * kRecordSize;  // the data record follows them
constexpr std::size_t kHalf = 256;

std::string DatabankBytes(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || data[0] < 0xF0) {
    return std::string(reinterpret_cast<const char*>(data), size);
  }
  const int generated = 248 + (data[0] - 0xF0);
  std::string bytes(generated * kEntrySize, '\0');
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    bytes[k] = static_cast<char>((k / kEntrySize) * 37 + k * 11);
  }
  return bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
}

std::uint8_t Decoded(const std::string& file, std::size_t offset) {
  return static_cast<std::uint8_t>(static_cast<std::uint8_t>(file[offset]) - offset % kHalf);
}

// The decoded data record of entry e (0-based), written apart from the code under test.
core::UserRecord DataRecord(const std::string& file, std::size_t e) {
  core::UserRecord record;
  auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
  const std::size_t start = e * kEntrySize + kDecoysSize;
  for (std::size_t k = 0; k < kRecordSize; ++k) {
    bytes[k] = Decoded(file, start + k);
  }
  return record;
}

// A saved entry carries the length byte, the characters and the byte after them of each half of
// the original record; every other byte, the two decoys whole, is filler, never (p - 1) mod 256.
void RequireSavedEntry(const std::string& saved, std::size_t e, const core::UserRecord& original) {
  const auto* plain = reinterpret_cast<const std::uint8_t*>(&original);
  const std::size_t start = e * kEntrySize;
  for (std::size_t k = 0; k < kDecoysSize; ++k) {
    FUZZ_REQUIRE(Decoded(saved, start + k) != 255);
  }
  for (std::size_t half = 0; half < 2; ++half) {
    const std::size_t length = plain[half * kHalf];
    for (std::size_t p = 0; p < kHalf; ++p) {
      const std::size_t k = half * kHalf + p;
      const std::uint8_t stored = Decoded(saved, start + kDecoysSize + k);
      FUZZ_REQUIRE(p <= length + 1 ? stored == plain[k] : stored != 255);
    }
  }
}

fuzzing::ScratchDrive& Drive() {
  static fuzzing::ScratchDrive drive;
  return drive;
}

std::uint32_t FixedClock() {
  return 20010911;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::ScratchDrive& drive = Drive();
  const std::string file = DatabankBytes(data, size);
  drive.Put(core::kDatabankPath, file, platform::kAttributeArchive);
  const std::size_t entries = file.size() / kEntrySize;
  const bool short_entry = file.size() % kEntrySize != 0;
  const std::size_t loaded = entries < 255 ? entries : 255;

  {
    core::UserTable table;
    core::DatabankFile databank(drive.files(), table, core::kDatabankPath, FixedClock);
    try {
      databank.OpenDatabank();
      FUZZ_REQUIRE(!short_entry);
    } catch (const core::IoError& error) {
      FUZZ_REQUIRE(short_entry && error.code() == core::kIoReadBeyondEnd);
    }
    FUZZ_REQUIRE(databank.IsOpen());
    FUZZ_REQUIRE(static_cast<std::size_t>(table.Count()) == loaded);
    FUZZ_REQUIRE(databank.SurplusEntries() == entries - loaded);
    for (std::size_t k = 1; k <= loaded; ++k) {
      const core::UserRecord expected = DataRecord(file, k - 1);
      FUZZ_REQUIRE(std::memcmp(&table.Slot(static_cast<int>(k)), &expected, sizeof expected) == 0);
    }
    FUZZ_REQUIRE(databank.SaveDatabank() == core::SaveOutcome::kSaved);
  }

  const std::string saved = drive.Get(core::kDatabankPath);
  FUZZ_REQUIRE(saved.size() == entries * kEntrySize);
  for (std::size_t e = 0; e < entries; ++e) {
    RequireSavedEntry(saved, e, DataRecord(file, e));
  }

  core::UserTable again;
  core::DatabankFile databank(drive.files(), again, core::kDatabankPath, FixedClock);
  databank.OpenDatabank();
  FUZZ_REQUIRE(static_cast<std::size_t>(again.Count()) == loaded);
  FUZZ_REQUIRE(databank.SurplusEntries() == entries - loaded);
  for (std::size_t k = 1; k <= loaded; ++k) {
    const core::UserRecord expected = DataRecord(file, k - 1);
    const core::UserRecord& slot = again.Slot(static_cast<int>(k));
    FUZZ_REQUIRE(slot.name.str() == expected.name.str());
    FUZZ_REQUIRE(slot.password.str() == expected.password.str());
  }
  databank.DeleteDatabank();
  FUZZ_REQUIRE(!drive.files().FileExists(core::kDatabankPath));
  return 0;
}
