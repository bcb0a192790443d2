// The DIB image: default store, size and format changes, pixel access in
// every bit depth, copy on write, and the trip to and from the plain bitmap.

#include <gtest/gtest.h>

#include "image/dib.h"

namespace pictavo {
namespace {

TEST(Dib, NewImageIsOneByOneEightBitZero) {
  TPxDIB d;
  EXPECT_EQ(d.Width(), 1);
  EXPECT_EQ(d.Height(), 1);
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf8Bit);
  EXPECT_EQ(d.Pixels(0, 0), 0u);
  EXPECT_EQ(d.header().biClrUsed, 2u);
}

TEST(Dib, SizeAndFormatChanges) {
  TPxDIB d;
  int changes = 0;
  d.onChange = [&] { ++changes; };
  d.SetPixelFormat(TPxPixelFormat::pxPf8Bit);
  EXPECT_EQ(changes, 0);
  d.SetHeight(3);
  d.SetWidth(5);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(d.Width(), 5);
  EXPECT_EQ(d.Height(), 3);
  EXPECT_EQ(d.header().biClrUsed, 2u);
  for (uint8_t b : d.colorTable()) ASSERT_EQ(b, 0);
  d.SetPixelFormat(TPxPixelFormat::pxPf24Bit);
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf24Bit);
  EXPECT_EQ(d.Stride(), 16);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(d.Pixels(x, y), 0u);

  EXPECT_THROW(d.SetWidth(0), EPxDIBInvalidDIBPara);
  EXPECT_THROW(d.SetWidth(-4), EPxDIBInvalidDIBPara);
  EXPECT_THROW(d.SetHeight(0), EPxDIBInvalidDIBPara);
  EXPECT_THROW(d.SetHeight(-70000), EPxDIBInvalidDIBPara);  // beyond the picture-size limit
  EXPECT_EQ(d.Height(), 3);
}

TEST(Dib, EightBitToTwentyFourUsesColourTable) {
  Bitmap b = Bitmap::Create(2, 1, 8);
  b.palette = {0x000000, 0x123456};
  b.data = {1, 0};
  TPxDIB d;
  d.Assign(b);
  d.SetPixelFormat(TPxPixelFormat::pxPf24Bit);
  EXPECT_EQ(d.Pixels(0, 0), 0x123456u);
  EXPECT_EQ(d.Pixels(1, 0), 0u);
  TPxDIB fresh;
  EXPECT_THROW(fresh.SetPixelFormat(TPxPixelFormat::pxPf4Bit), EPxDIBInvalidDIBPara);
  fresh.Assign(Bitmap::Create(2, 2, 4));
  EXPECT_THROW(fresh.SetPixelFormat(TPxPixelFormat::pxPf24Bit), EPxDIBBadDIBType);
}

TEST(Dib, NegativeHeightIsTopDownWithRowZeroOnTop) {
  TPxDIB d;
  d.SetPixelFormat(TPxPixelFormat::pxPf24Bit);
  d.SetHeight(-2);
  EXPECT_EQ(d.Height(), 2);
  EXPECT_LT(d.header().biHeight, 0);
  d.SetPixels(0, 0, 0x0000FF);
  EXPECT_EQ(d.ScanLine(0)[2], 0xFF);
  d.SetWidth(3);
  EXPECT_GT(d.header().biHeight, 0);
}

TEST(Dib, PixelAccessPerBitDepth) {
  TPxDIB d;
  d.SetWidth(4);
  d.SetHeight(2);
  d.SetPixelFormat(TPxPixelFormat::pxPf24Bit);
  d.SetPixels(1, 1, 0x0000FF);
  const uint8_t* row = d.ScanLine(1);
  EXPECT_EQ(row[3], 0x00);
  EXPECT_EQ(row[4], 0x00);
  EXPECT_EQ(row[5], 0xFF);
  EXPECT_EQ(d.Pixels(1, 1), 0x0000FFu);
  d.SetPixels(3, 1, 0x7F123456);  // top byte ignored
  EXPECT_EQ(d.Pixels(3, 1), 0x123456u);
  EXPECT_THROW(d.SetPixels(0, 0, 0x80000000u), EPxDIBPixelPositionRange);
  EXPECT_THROW(d.Pixels(4, 0), EPxDIBPixelPositionRange);
  EXPECT_THROW(d.Pixels(0, 2), EPxDIBPixelPositionRange);
  EXPECT_THROW(d.Pixels(-1, 0), EPxDIBPixelPositionRange);
  EXPECT_NO_THROW(d.Pixels(3, 1));
  try {
    d.ScanLine(2);
    FAIL();
  } catch (const EPxDIBPixelPositionRange& e) {
    EXPECT_STREQ(e.what(), "TPxDIB.GetScanLine: y is Out of Range");
  }

  Bitmap four = Bitmap::Create(3, 1, 4);
  TPxDIB n;
  n.Assign(four);
  n.SetPixels(0, 0, 5);
  n.SetPixels(1, 0, 10);
  EXPECT_EQ(n.ScanLine(0)[0], 0x5A);
  EXPECT_EQ(n.Pixels(1, 0), 10u);

  Bitmap one = Bitmap::Create(9, 1, 1);
  TPxDIB m;
  m.Assign(one);
  m.SetPixels(1, 0, 7);
  m.SetPixels(8, 0, 1);
  EXPECT_EQ(m.ScanLine(0)[0], 0x40);
  EXPECT_EQ(m.ScanLine(0)[1], 0x80);
  m.SetPixels(1, 0, 0);
  EXPECT_EQ(m.Pixels(1, 0), 0u);

  TPxDIB e;
  EXPECT_THROW(e.SetPixels(0, 0, 256), EPxDIBPixelPositionRange);
}

TEST(Dib, CopyOnWriteLeavesSharerUnchanged) {
  TPxDIB a, b;
  a.SetWidth(2);
  b.Assign(a);
  EXPECT_TRUE(a.sharesStoreWith(b));
  b.SetPixels(0, 0, 9);
  EXPECT_FALSE(a.sharesStoreWith(b));
  EXPECT_EQ(a.Pixels(0, 0), 0u);
  EXPECT_EQ(b.Pixels(0, 0), 9u);
  a.Assign(a);
  a.Assign(nullptr);
  EXPECT_EQ(a.Width(), 1);
}

TEST(Dib, BitmapRoundTripKeepsPixelsAndPalette) {
  Bitmap rgb = Bitmap::Create(3, 2, 24);
  for (size_t i = 0; i < rgb.data.size(); ++i) rgb.data[i] = static_cast<uint8_t>(i * 13);
  TPxDIB d;
  d.Assign(rgb);
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf24Bit);
  // Red in the lowest byte of a pixel value; the bitmap holds R, G, B.
  EXPECT_EQ(d.Pixels(0, 0), static_cast<uint32_t>(rgb.data[0] | rgb.data[1] << 8 | rgb.data[2] << 16));
  Bitmap back;
  d.AssignTo(back);
  EXPECT_EQ(back.bitsPerPixel, 24);
  EXPECT_EQ(back.data, rgb.data);

  Bitmap grey = Bitmap::Create(5, 1, 8);
  grey.palette = Bitmap::GreyPalette();
  grey.data = {0, 50, 100, 150, 255};
  d.Assign(grey);
  EXPECT_EQ(d.header().biClrUsed, 256u);
  d.AssignTo(back);
  EXPECT_EQ(back.bitsPerPixel, 8);
  EXPECT_EQ(back.data, grey.data);
  EXPECT_EQ(back.palette, grey.palette);
}

}  // namespace
}  // namespace pictavo
