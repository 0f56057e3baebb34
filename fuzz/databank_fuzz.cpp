// Fuzzes the databank loader with arbitrary file contents, then saves and loads again. Checked:
// no crash and no access outside the table (the sanitizers), at most 255 users loaded with the
// rest carried as surplus, every slot holding the decoded data record of its entry, a short
// last entry reported as "Read beyond end of file" and nothing else raised, and a save that
// writes every entry back whole with its carried bytes and fresh filler.
//
// Input: the databank file as it stands. An input starting with the byte 0xFF and a byte
// 0xF0..0xFF stands for 254..257 generated entries (the byte's low two bits) followed by at most
// an incomplete entry of the rest of the input, so that files around the table's capacity are
// reached without inputs of 400 KB. Such a file costs twenty times as much to run as a small
// one, so few inputs are allowed to be one: a two-byte marker, which mutations of small files
// seldom produce, and four counts and no whole entries after them, which give the fuzzer few
// such files to keep.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/databank_file.h"
#include "core/errors.h"
#include "fuzz/scratch_drive.h"

namespace {

constexpr std::size_t kRecordSize = core::kRecordSize;
constexpr std::size_t kEntrySize = kRecordSize * core::kRecordsPerEntry;
constexpr std::size_t kDecoysSize = 2 * kRecordSize;  // the data record follows them
constexpr std::size_t kHalf = 256;

struct Generated {
  std::string file;                       // the entries as stored
  std::vector<core::UserRecord> records;  // their data records, decoded
};

// The decoded data records of the whole entries of `file`, written apart from the code under
// test.
void DecodeEntries(std::string_view file, std::vector<core::UserRecord>& records) {
  records.resize(file.size() / kEntrySize);
  const auto* stored = reinterpret_cast<const std::uint8_t*>(file.data());
  for (std::size_t e = 0; e < records.size(); ++e) {
    auto* plain = reinterpret_cast<std::uint8_t*>(&records[e]);
    const std::uint8_t* data = stored + e * kEntrySize + kDecoysSize;
    for (std::size_t k = 0; k < kRecordSize; ++k) {
      plain[k] = static_cast<std::uint8_t>(data[k] - k % kHalf);
    }
  }
}

// The 254..257 generated entries of a capacity input, made and decoded once for each count:
// every byte differs from the same byte of the neighbouring entries, so a user in the wrong
// slot shows.
const Generated& GeneratedEntries(int count) {
  static Generated made[4];
  Generated& generated = made[count - 254];
  if (generated.file.empty()) {
    generated.file.resize(count * kEntrySize);
    for (std::size_t k = 0; k < generated.file.size(); ++k) {
      generated.file[k] = static_cast<char>((k / kEntrySize) * 37 + k * 11);
    }
    DecodeEntries(generated.file, generated.records);
  }
  return generated;
}

// The databank file an input stands for: the generated entries of a capacity input (or none),
// then the input's own bytes; and the decoded data records of its whole entries.
class Databank {
 public:
  void Take(const std::uint8_t* data, std::size_t size) {
    static const Generated kNone;
    const bool capacity = size >= 2 && data[0] == 0xFF && data[1] >= 0xF0;
    generated_ = capacity ? &GeneratedEntries(254 + (data[1] & 3)) : &kNone;
    const std::size_t skipped = capacity ? 2 : 0;
    // After the generated entries, at most an incomplete entry.
    const std::size_t kept =
        capacity ? std::min<std::size_t>(size - skipped, kEntrySize - 1) : size - skipped;
    own_ = std::string_view(reinterpret_cast<const char*>(data) + skipped, kept);
    DecodeEntries(own_, own_records_);
  }
  std::string_view generated() const { return generated_->file; }
  std::string_view own() const { return own_; }
  std::size_t size() const { return generated_->file.size() + own_.size(); }
  std::size_t entries() const { return generated_->records.size() + own_records_.size(); }
  const core::UserRecord& record(std::size_t e) const {
    const std::size_t made = generated_->records.size();
    return e < made ? generated_->records[e] : own_records_[e - made];
  }

 private:
  const Generated* generated_ = nullptr;
  std::string_view own_;
  std::vector<core::UserRecord> own_records_;
};

// A saved entry carries the length byte, the characters and the byte after them of each half of
// the original record; every other byte, the two decoys whole, is filler, never (p - 1) mod 256.
void RequireSavedEntry(const std::string& saved, std::size_t e, const core::UserRecord& original) {
  const auto* plain = reinterpret_cast<const std::uint8_t*>(&original);
  const auto* entry = reinterpret_cast<const std::uint8_t*>(saved.data()) + e * kEntrySize;
  bool filler_ok = true;
  for (std::size_t k = 0; k < kDecoysSize; ++k) {
    filler_ok &= static_cast<std::uint8_t>(entry[k] - k % kHalf) != 255;
  }
  const std::uint8_t* data = entry + kDecoysSize;
  bool carried_ok = true;
  for (std::size_t half = 0; half < 2; ++half) {
    const std::size_t length = plain[half * kHalf];
    for (std::size_t p = 0; p < kHalf; ++p) {
      const std::size_t k = half * kHalf + p;
      const auto stored = static_cast<std::uint8_t>(data[k] - p);
      if (p <= length + 1) {
        carried_ok &= stored == plain[k];
      } else {
        filler_ok &= stored != 255;
      }
    }
  }
  FUZZ_REQUIRE(carried_ok);
  FUZZ_REQUIRE(filler_ok);
}

// The same length byte and characters; the bytes after them are filler drawn anew at each save.
bool SameText(const core::ShortString255& a, const core::ShortString255& b) {
  return std::memcmp(a.bytes.data(), b.bytes.data(), std::size_t{b.bytes[0]} + 1) == 0;
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
  // Kept from run to run: a capacity input is 400 KB, which a fresh allocation would page in.
  static Databank file;
  file.Take(data, size);
  drive.Put(core::kDatabankPath, {file.generated(), file.own()}, platform::kAttributeArchive);
  const std::size_t entries = file.entries();
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
      FUZZ_REQUIRE(std::memcmp(&table.Slot(static_cast<int>(k)), &file.record(k - 1),
                               sizeof(core::UserRecord)) == 0);
    }
    FUZZ_REQUIRE(databank.SaveDatabank() == core::SaveOutcome::kSaved);
  }
  // A file cut short is kept beside the new one.
  FUZZ_REQUIRE(drive.files().FileExists(core::SideFileName(core::kDatabankPath, "bad")) ==
               short_entry);

  static std::string saved;
  drive.Get(core::kDatabankPath, saved);
  FUZZ_REQUIRE(saved.size() == entries * kEntrySize);
  for (std::size_t e = 0; e < entries; ++e) {
    RequireSavedEntry(saved, e, file.record(e));
  }

  core::UserTable again;
  core::DatabankFile databank(drive.files(), again, core::kDatabankPath, FixedClock);
  databank.OpenDatabank();
  FUZZ_REQUIRE(static_cast<std::size_t>(again.Count()) == loaded);
  FUZZ_REQUIRE(databank.SurplusEntries() == entries - loaded);
  for (std::size_t k = 1; k <= loaded; ++k) {
    const core::UserRecord& slot = again.Slot(static_cast<int>(k));
    FUZZ_REQUIRE(SameText(slot.name, file.record(k - 1).name));
    FUZZ_REQUIRE(SameText(slot.password, file.record(k - 1).password));
  }
  databank.DeleteDatabank();
  FUZZ_REQUIRE(!drive.files().FileExists(core::kDatabankPath));
  return 0;
}
