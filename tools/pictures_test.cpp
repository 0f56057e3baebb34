// The program's pictures as app/res/make_pictures.py writes them: the icon and the status bar
// pictures come in true colour, 256 colours and 16 colours (Windows 9x shows no 32-bit icons and
// often runs 16- or 256-colour displays), and every depth has the same shape.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;
using Pixels = std::vector<std::vector<Rgb>>;  // top-down rows

// The 16 colours every Windows display has.
const std::vector<Rgb> kVga = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                               {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                               {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                               {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
const Rgb kMagenta = {255, 0, 255};

std::string Resource(const std::string& name) {
  std::ifstream in(std::string(KORVANE_RESOURCES) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U16(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b.at(at)) | static_cast<unsigned char>(b.at(at + 1)) << 8;
}
std::uint32_t U32(const std::string& b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

struct Dib {
  int width = 0;
  int height = 0;  // of the colour image (half the header's height for an icon)
  int bits = 0;
  std::vector<Rgb> palette;
  Pixels pixels;
  std::vector<std::vector<bool>> mask;  // icons: true where transparent
};

// Reads a device-independent bitmap at `at`: header, palette, bottom-up rows, and for an icon
// the AND mask after them.
Dib ReadDib(const std::string& b, std::size_t at, bool icon) {
  Dib dib;
  dib.width = static_cast<int>(U32(b, at + 4));
  dib.height = static_cast<int>(U32(b, at + 8)) / (icon ? 2 : 1);
  dib.bits = static_cast<int>(U16(b, at + 14));
  std::size_t colours = U32(b, at + 32);
  if (colours == 0 && dib.bits <= 8) {
    colours = std::size_t{1} << dib.bits;
  }
  std::size_t p = at + U32(b, at);
  for (std::size_t i = 0; i < colours; ++i, p += 4) {
    dib.palette.push_back({static_cast<unsigned char>(b.at(p + 2)),
                           static_cast<unsigned char>(b.at(p + 1)),
                           static_cast<unsigned char>(b.at(p))});
  }
  const std::size_t stride = static_cast<std::size_t>((dib.width * dib.bits + 31) / 32) * 4;
  dib.pixels.assign(dib.height, std::vector<Rgb>(dib.width));
  for (int row = 0; row < dib.height; ++row) {
    const std::size_t line = p + stride * (dib.height - 1 - row);
    for (int x = 0; x < dib.width; ++x) {
      auto byte = [&](std::size_t i) { return static_cast<unsigned char>(b.at(line + i)); };
      if (dib.bits >= 24) {
        const std::size_t i = static_cast<std::size_t>(x) * (dib.bits / 8);
        dib.pixels[row][x] = {byte(i + 2), byte(i + 1), byte(i)};
      } else if (dib.bits == 8) {
        dib.pixels[row][x] = dib.palette.at(byte(x));
      } else {
        dib.pixels[row][x] = dib.palette.at(x % 2 ? byte(x / 2) & 15 : byte(x / 2) >> 4);
      }
    }
  }
  if (icon) {
    const std::size_t mask_at = p + stride * dib.height;
    const std::size_t mask_stride = static_cast<std::size_t>((dib.width + 31) / 32) * 4;
    dib.mask.assign(dib.height, std::vector<bool>(dib.width));
    for (int row = 0; row < dib.height; ++row) {
      for (int x = 0; x < dib.width; ++x) {
        const auto byte = static_cast<unsigned char>(
            b.at(mask_at + mask_stride * (dib.height - 1 - row) + x / 8));
        dib.mask[row][x] = (byte & (0x80 >> (x % 8))) != 0;
      }
    }
  }
  return dib;
}

TEST(PicturesTest, TheIconHoldsEachSizeInTrueColour256And16Colours) {
  const std::string ico = Resource("korvane.ico");
  ASSERT_GT(ico.size(), 6u);
  const std::size_t count = U16(ico, 4);
  std::vector<std::pair<int, int>> found;  // size, bits
  std::vector<Dib> images;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const int size = static_cast<unsigned char>(ico.at(entry));
    const int bits = static_cast<int>(U16(ico, entry + 6));
    found.emplace_back(size, bits);
    EXPECT_EQ(bits == 4 ? 16 : 0, static_cast<unsigned char>(ico.at(entry + 2)))
        << "colour count of the " << size << "x" << size << " " << bits << "-bit image";
    images.push_back(ReadDib(ico, U32(ico, entry + 12), true));
    EXPECT_EQ(size, images.back().width);
    EXPECT_EQ(bits, images.back().bits);
    if (bits == 4) {
      EXPECT_EQ(kVga, images.back().palette) << "a 16-colour image in the display's own colours";
    }
  }
  EXPECT_EQ(
      (std::vector<std::pair<int, int>>{{32, 32}, {16, 32}, {32, 8}, {16, 8}, {32, 4}, {16, 4}}),
      found);
  // Every depth of a size has the true-colour image's shape; under the mask every pixel is black,
  // since Windows draws an icon's colours over the masked background.
  for (std::size_t i = 0; i < images.size(); ++i) {
    const Dib& image = images[i];
    const Dib& true_colour = images[i % 2];
    EXPECT_EQ(true_colour.mask, image.mask) << "image " << i;
    int tinted = 0;
    int changed = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (image.mask[y][x]) {
          tinted += image.pixels[y][x] != Rgb{0, 0, 0};
        } else {
          changed += image.pixels[y][x] != true_colour.pixels[y][x];
        }
      }
    }
    EXPECT_EQ(0, tinted) << "masked pixels that are not black in image " << i;
    if (image.bits == 8) {
      EXPECT_EQ(0, changed) << "the 256-colour image " << i << " keeps the true colours";
    }
  }
}

TEST(PicturesTest, TheStatusBarPicturesComeIn256And16ColoursWithTheSameMask) {
  const Dib true_colour = ReadDib(Resource("pictures.bmp"), 14, false);
  const Dib colours256 = ReadDib(Resource("pictures_256.bmp"), 14, false);
  const Dib colours16 = ReadDib(Resource("pictures_16.bmp"), 14, false);
  EXPECT_EQ(24, true_colour.bits);
  EXPECT_EQ(8, colours256.bits);
  EXPECT_EQ(4, colours16.bits);
  EXPECT_EQ(kVga, colours16.palette);
  EXPECT_TRUE(true_colour.pixels == colours256.pixels) << "the 256 colours are the true ones";
  ASSERT_EQ(32, colours16.width);
  ASSERT_EQ(16, colours16.height);
  int moved = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      moved += (true_colour.pixels[y][x] == kMagenta) != (colours16.pixels[y][x] == kMagenta);
    }
  }
  EXPECT_EQ(0, moved) << "pixels where only one of the pictures has the mask colour";
}

}  // namespace
