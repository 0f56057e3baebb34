// Screenshots of the tool's windows as PNG files. The PNG is written by hand with uncompressed
// ("stored") deflate blocks, since only the Windows API is at hand; any viewer reads it, and
// the files are small enough for a window of a few hundred pixels.
#include <algorithm>
#include <fstream>

#include "e2e/driver.h"

namespace e2e {
namespace {

std::uint32_t Crc32(const std::string& bytes, std::uint32_t crc = 0) {
  static std::uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    ready = true;
  }
  crc = ~crc;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  PutBigEndian(out, Crc32(body));
}

// A zlib stream of stored blocks (at most 65535 bytes each), with its Adler-32 check.
std::string StoredZlib(const std::string& raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  std::size_t offset = 0;
  do {
    const std::size_t size = std::min<std::size_t>(raw.size() - offset, 65535);
    const bool last = offset + size == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(size & 0xFF);
    out += static_cast<char>(size >> 8);
    out += static_cast<char>(~size & 0xFF);
    out += static_cast<char>((~size >> 8) & 0xFF);
    out.append(raw, offset, size);
    offset += size;
  } while (offset < raw.size());
  PutBigEndian(out, (b << 16) | a);
  return out;
}

// rows: height rows of width * 3 bytes, red, green, blue.
std::string EncodePng(int width, int height, const std::string& rows) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  PutChunk(png, "IHDR", header);
  std::string raw;
  raw.reserve(rows.size() + height);
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // filter type: none
    raw.append(rows, static_cast<std::size_t>(y) * width * 3, static_cast<std::size_t>(width) * 3);
  }
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  return png;
}

void MakeDirectories(const std::string& path) {
  for (std::size_t i = 3; i < path.size(); ++i) {
    if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

}  // namespace

testing::AssertionResult CaptureWindow(HWND window, bool settle, WindowPixels& captured) {
  RECT rect;
  if (!window || !GetWindowRect(window, &rect)) {
    return testing::AssertionFailure() << "no window to capture";
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC window_dc = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(window_dc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
  std::string previous;
  bool done = false;
  for (int attempt = 0; attempt < 20; ++attempt) {
    done = BitBlt(memory, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
    if (!done) done = PrintWindow(window, memory, 0);
    GdiFlush();
    if (!settle || !done) break;
    std::string current(static_cast<const char*>(bits), bytes);
    if (current == previous) break;
    previous = std::move(current);
    Sleep(50);
  }

  captured.width = width;
  captured.height = height;
  captured.pixels.resize(static_cast<std::size_t>(width) * height);
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < captured.pixels.size(); ++i) {
    captured.pixels[i] = RGB(pixels[i * 4 + 2], pixels[i * 4 + 1], pixels[i * 4]);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, window_dc);
  if (!done) return testing::AssertionFailure() << "capturing the window failed";
  return testing::AssertionSuccess();
}

testing::AssertionResult SaveScreenshot(HWND window, const std::string& path,
                                        std::string* written) {
  if (window) {
    // Let the window finish painting before it is captured.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  WindowPixels shot;
  if (auto captured = CaptureWindow(window, true, shot); !captured) {
    return captured;
  }
  std::string rows(shot.pixels.size() * 3, '\0');
  for (std::size_t i = 0; i < shot.pixels.size(); ++i) {
    rows[i * 3] = static_cast<char>(GetRValue(shot.pixels[i]));
    rows[i * 3 + 1] = static_cast<char>(GetGValue(shot.pixels[i]));
    rows[i * 3 + 2] = static_cast<char>(GetBValue(shot.pixels[i]));
  }

  std::string target = path;
  const bool absolute = path.size() > 1 && (path[1] == ':' || path[0] == '\\');
  if (!absolute) {
    if (ScreenshotDir().empty()) {
      return testing::AssertionFailure() << "no screenshot directory (--screenshots=)";
    }
    target = ScreenshotDir() + "\\" + path;
  }
  MakeDirectories(target);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << EncodePng(shot.width, shot.height, rows);
  out.close();
  if (!out) return testing::AssertionFailure() << "cannot write " << target;
  if (written) *written = target;
  return testing::AssertionSuccess();
}

}  // namespace e2e
