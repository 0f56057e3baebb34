// Fuzzes the boot option rewrite with arbitrary boot configuration files. Checked against a
// line model of its own: the head, up to and including the first "[OPTIONS]" line, comes out
// byte for byte (apart from line ends); every tail line comes out upper-cased, except that a
// key line is replaced (value 0) or dropped (value 1), and when the tail held no key line the
// new one follows every header; every line ends in CR LF. The call succeeds, leaves the file
// with attributes 39 and no working file behind, and with value 0 a second call changes nothing.
//
// Input: byte 0 chooses the key (bit 0: "BOOTKEYS=" instead of "BOOTSAFE=") and the value
// (bit 1); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/boot_options.h"
#include "fuzz/scratch_drive.h"

namespace {

using Lines = std::vector<std::string>;

// The lines as the tool reads them: a line ends at CR, one LF right after the CR belongs to the
// line end, a Ctrl-Z ends the text, and at least one line is read, even from nothing.
Lines ReadLines(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\x1a'));
  Lines lines;
  std::size_t at = 0;
  do {
    const std::size_t cr = text.find('\r', at);
    if (cr == std::string::npos) {
      lines.push_back(text.substr(at));
      at = text.size();
    } else {
      lines.push_back(text.substr(at, cr - at));
      at = cr + 1;
      if (at < text.size() && text[at] == '\n') {
        ++at;
      }
    }
  } while (at < text.size());
  return lines;
}

// Every written line ends in CR LF; the lines themselves hold no CR, so the split is exact.
Lines WrittenLines(const std::string& bytes) {
  FUZZ_REQUIRE(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
  Lines lines;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t cr = bytes.find('\r', at);
    FUZZ_REQUIRE(cr + 1 < bytes.size() && bytes[cr + 1] == '\n');
    lines.push_back(bytes.substr(at, cr - at));
    at = cr + 2;
  }
  return lines;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

void RequireRewrite(const Lines& in, const Lines& out, const std::string& key, bool enable) {
  std::size_t header = 0;
  while (header < in.size() && Upper(in[header]) != "[OPTIONS]") {
    ++header;
  }
  if (header == in.size()) {
    FUZZ_REQUIRE(out == in);
    return;
  }
  FUZZ_REQUIRE(out.size() > header);
  for (std::size_t i = 0; i <= header; ++i) {
    FUZZ_REQUIRE(out[i] == in[i]);
  }

  auto is_key_line = [&key](const std::string& upper) {
    return upper == key + "0" || upper == key + "1";
  };
  bool found = false;
  for (std::size_t i = header + 1; i < in.size(); ++i) {
    found = found || is_key_line(Upper(in[i]));
  }
  const std::string inserted = key + (enable ? "1" : "0");

  std::size_t j = header + 1;
  auto next_is = [&](const std::string& line) {
    FUZZ_REQUIRE(j < out.size() && out[j] == line);
    ++j;
  };
  if (!found) {
    next_is(inserted);
  }
  for (std::size_t i = header + 1; i < in.size(); ++i) {
    const std::string upper = Upper(in[i]);
    if (is_key_line(upper)) {
      if (!enable) {
        next_is(key + "0");
      }
      continue;
    }
    next_is(upper);
    if (!found && upper == "[OPTIONS]") {
      next_is(inserted);
    }
  }
  FUZZ_REQUIRE(j == out.size());
}

class NoMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string&) override { FUZZ_REQUIRE(!"a message was shown"); }
};

fuzzing::ScratchDrive& Drive() {
  static fuzzing::ScratchDrive drive;
  return drive;
}

// The rewrite succeeds and leaves the file in place with its attributes and no working file.
std::string Rewrite(const std::string& key, bool enable) {
  fuzzing::ScratchDrive& drive = Drive();
  NoMessages messages;
  core::BootOptionEditor editor(drive.files(), messages);
  FUZZ_REQUIRE(editor.SetBootOption(key, enable ? 1 : 0));
  std::uint32_t attributes = 0;
  FUZZ_REQUIRE(drive.files().GetAttributes(core::kBootConfigPath, attributes));
  FUZZ_REQUIRE(attributes == core::kBootConfigAttributes);
  FUZZ_REQUIRE(!drive.files().FileExists(core::kBootBufferPath));
  FUZZ_REQUIRE(!drive.files().FileExists(core::kBootNewPath));
  FUZZ_REQUIRE(!drive.files().FileExists(core::kBootOldPath));
  return drive.Get(core::kBootConfigPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string key(data[0] & 1 ? core::kBootKeysKey : core::kBootSafeKey);
  const bool enable = (data[0] & 2) != 0;
  const std::string before(reinterpret_cast<const char*>(data) + 1, size - 1);

  Drive().Put(core::kBootConfigPath, before, core::kBootConfigAttributes);
  const std::string after = Rewrite(key, enable);
  RequireRewrite(ReadLines(before), WrittenLines(after), key, enable);
  if (!enable) {
    FUZZ_REQUIRE(Rewrite(key, false) == after);
  }
  return 0;
}
