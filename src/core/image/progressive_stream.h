#pragma once
// A progressive JPEG read as if it were sequential, without holding its
// coefficients. libjpeg decodes a progressive file by collecting every
// coefficient of the picture before the first row comes out (about 2 bytes
// per sample: 150 MB for 50 megapixels). Here every scan of the file gets a
// reader of its own, positioned at the current row of blocks; the row's
// coefficients are completed by running each scan over it in file order, and
// are then written out as one row of a sequential (single-scan) JPEG. libjpeg
// decodes that stream with the same quantization tables, sampling and
// markers, so its pixels are exactly those of the progressive file, while
// memory stays at a few rows of blocks whatever the picture's size.
//
// The rewrite takes only files whose every detail it reproduces exactly:
// 8-bit Huffman progressive, complete coefficients (no block smoothing), a
// clean marker structure. It stops with "not mine" at anything unusual,
// including damaged data, so the caller can decode the file the usual way
// and report exactly what libjpeg reports.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pictavo {

class ProgressiveStream {
 public:
  ProgressiveStream();
  ~ProgressiveStream();
  ProgressiveStream(const ProgressiveStream&) = delete;
  ProgressiveStream& operator=(const ProgressiveStream&) = delete;

  // Reads the markers of the file open at fd (not moving its offset). False
  // when the file is not one this class streams.
  bool open(int fd);
  // The next piece of the sequential stream: headers first, then the rows
  // of blocks (a piece holds one or more), the last ending in the
  // end-of-image marker. A piece is never empty and stays valid until the
  // next call. False at the end (size 0) or when the file turned out not to
  // be streamable after all (failed() then says so).
  bool next(const uint8_t*& data, size_t& size);
  bool failed() const;
  // The pixel rows the reader will take; the others may come out as flat
  // grey (their data is still read and checked). Without a call, every row
  // is exact.
  void needRows(const std::vector<int>& pixelRows);
  // Memory the stream holds while running.
  int64_t memoryBytes() const;

 private:
  struct State;
  std::unique_ptr<State> m;
};

}  // namespace pictavo
