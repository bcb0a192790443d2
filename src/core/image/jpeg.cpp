#include "image/jpeg.h"

#include <algorithm>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "image/libjpeg_error.h"
#include "image/progressive_stream.h"
#include "platform/error.h"
#include "platform/sink.h"
#include "platform/textfile.h"

namespace pictavo {

namespace {

// Where the orientation tag's value lies in an APP1 "Exif" payload, and the
// payload's byte order; every offset is checked against the segment.
struct ExifOrientationAt {
  size_t offset = 0;  // of the value's two bytes in the payload; 0 when absent
  bool little = false;
};

ExifOrientationAt FindExifOrientation(const uint8_t* data, size_t size) {
  if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return {};
  const uint8_t* tiff = data + 6;
  const size_t n = size - 6;
  bool little;
  if (tiff[0] == 'I' && tiff[1] == 'I') {
    little = true;
  } else if (tiff[0] == 'M' && tiff[1] == 'M') {
    little = false;
  } else {
    return {};
  }
  auto u16 = [&](size_t off) -> uint32_t {
    return little ? static_cast<uint32_t>(tiff[off] | (tiff[off + 1] << 8))
                  : static_cast<uint32_t>((tiff[off] << 8) | tiff[off + 1]);
  };
  auto u32 = [&](size_t off) -> uint32_t {
    return little ? (static_cast<uint32_t>(tiff[off]) | (static_cast<uint32_t>(tiff[off + 1]) << 8) |
                     (static_cast<uint32_t>(tiff[off + 2]) << 16) | (static_cast<uint32_t>(tiff[off + 3]) << 24))
                  : ((static_cast<uint32_t>(tiff[off]) << 24) | (static_cast<uint32_t>(tiff[off + 1]) << 16) |
                     (static_cast<uint32_t>(tiff[off + 2]) << 8) | static_cast<uint32_t>(tiff[off + 3]));
  };
  if (u16(2) != 42) return {};
  const uint32_t ifd = u32(4);
  if (ifd > n || n - ifd < 2) return {};
  const uint32_t count = u16(ifd);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = ifd + 2 + static_cast<size_t>(i) * 12;
    if (entry + 12 > n) return {};
    if (u16(entry) == 0x0112) {
      if (u16(entry + 2) != 3) return {};  // SHORT
      return {6 + entry + 8, little};
    }
  }
  return {};
}

}  // namespace

int ParseExifOrientation(const uint8_t* data, size_t size) {
  const ExifOrientationAt at = FindExifOrientation(data, size);
  if (at.offset == 0) return 1;
  const uint32_t value = at.little ? static_cast<uint32_t>(data[at.offset] | (data[at.offset + 1] << 8))
                                   : static_cast<uint32_t>((data[at.offset] << 8) | data[at.offset + 1]);
  return (value >= 1 && value <= 8) ? static_cast<int>(value) : 1;
}

bool SetExifOrientation(uint8_t* data, size_t size, int value) {
  if (value < 1 || value > 8) return false;
  const ExifOrientationAt at = FindExifOrientation(data, size);
  if (at.offset == 0) return false;
  data[at.offset + (at.little ? 0 : 1)] = static_cast<uint8_t>(value);
  data[at.offset + (at.little ? 1 : 0)] = 0;
  return true;
}

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  ErrorCode code;  // what the error in `message` means
  int damageWarnings;
  bool stopAtDamage;  // decoding pixels: the first damage ends it
};

void FormatTooMuchMemory(char* message, size_t size, int64_t bytes) {
  std::snprintf(message, size, "picture needs about %lld MB of memory to decode, more than the %ld MB allowed",
                static_cast<long long>((bytes + (1 << 20) - 1) >> 20), kJpegMemoryLimit >> 20);
}

}  // namespace

ErrorCode LibjpegErrorCode(int msgCode, bool decoding) {
  switch (msgCode) {
    case JERR_NO_BACKING_STORE:
    case JERR_OUT_OF_MEMORY:
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
      return ErrorCode::TooLarge;
    case JERR_ARITH_NOTIMPL:
    case JERR_BAD_PRECISION:
    case JERR_CCIR601_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_FRACT_SAMPLE_NOTIMPL:
    case JERR_NOTIMPL:
    case JERR_SOF_UNSUPPORTED:
      return ErrorCode::Unsupported;
    default:
      return decoding ? ErrorCode::Damaged : ErrorCode::BadValue;
  }
}

namespace {

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->code = LibjpegErrorCode(cinfo->err->msg_code, cinfo->is_decompressor != 0);
  if (cinfo->err->msg_code == JERR_NO_BACKING_STORE) {
    // libjpeg's own memory cap: its buffers would not fit within the limit.
    std::snprintf(err->message, sizeof err->message,
                  "picture needs more memory to decode than the %ld MB allowed", kJpegMemoryLimit >> 20);
  } else {
    (*cinfo->err->format_message)(cinfo, err->message);
  }
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (level >= 0) return;  // trace messages
  switch (cinfo->err->msg_code) {
    // Informational: the data itself is intact.
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_BOGUS_ICC:
      return;
    default:
      // Damage: the verdict is known, so stop here rather than decode on.
      if (err->damageWarnings++ == 0) (*cinfo->err->format_message)(cinfo, err->message);
      if (err->stopAtDamage) std::longjmp(err->jump, 1);
  }
}

void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxProgressiveScans) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "more than %d progressive scans", kMaxProgressiveScans);
    err->code = ErrorCode::TooLarge;
    std::longjmp(err->jump, 1);
  }
}

// Everything one decompression needs; lives in the caller's frame so that
// longjmp never skips a C++ destructor inside the setjmp scope.
struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  jpeg_progress_mgr progress{};
  int coverBox = 0;  // > 0: decode at the smallest scale whose longer side still covers it
};

// The largest reduction of the DCT scaling (1/8, 1/4, 1/2) that keeps the
// picture's longer side at least `box` pixels; 1 when none does.
unsigned ReductionFor(const jpeg_decompress_struct& cinfo, int box) {
  const unsigned longer = std::max(cinfo.image_width, cinfo.image_height);
  for (unsigned denom : {8u, 4u, 2u}) {
    if ((longer + denom - 1) / denom >= static_cast<unsigned>(box)) return denom;
  }
  return 1;
}

void SetUp(Decoder& d) {
  d.cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = OnError;
  d.err.pub.emit_message = OnMessage;
  d.err.message[0] = '\0';
  d.err.code = ErrorCode::Damaged;
  jpeg_create_decompress(&d.cinfo);
  d.cinfo.mem->max_memory_to_use = kJpegMemoryLimit;
  d.progress.progress_monitor = OnProgress;
  d.cinfo.progress = &d.progress;
}

void NoteSettings(const jpeg_decompress_struct& cinfo, JpegInfo& info) {
  info.fancyUpsampling = cinfo.do_fancy_upsampling != 0;
  info.scaleNum = static_cast<int>(cinfo.scale_num);
  info.scaleDenom = static_cast<int>(cinfo.scale_denom);
  info.accurateDct = cinfo.dct_method == JDCT_ISLOW;
  info.outputWidth = static_cast<int>(cinfo.output_width);
  info.outputHeight = static_cast<int>(cinfo.output_height);
}

int OrientationOf(j_decompress_ptr cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
    if (m->marker == JPEG_APP0 + 1) {
      const int o = ParseExifOrientation(m->data, m->data_length);
      if (o != 1) return o;
    }
  }
  return 1;
}

bool CheckSize(const jpeg_decompress_struct& cinfo, Status& status) {
  const int64_t w = cinfo.image_width, h = cinfo.image_height;
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide || w * h > kMaxPicturePixels) {
    // libjpeg refuses a side of 0 before this; should one get here, it is damage.
    const ErrorCode code = w <= 0 || h <= 0 ? ErrorCode::Damaged : ErrorCode::TooLarge;
    status = Status::Failure(code, "picture too large: " + std::to_string(w) + " x " + std::to_string(h) +
                                       " pixels (the limit is " + std::to_string(kMaxPicturePixels / 1000000) +
                                       " megapixels)");
    return false;
  }
  return true;
}

int64_t DecoderBytes(const jpeg_decompress_struct& cinfo) {
  int64_t bytes = static_cast<int64_t>(cinfo.image_width) * 3 * 64;  // row buffers and context rows
  if (cinfo.progressive_mode) {
    for (int c = 0; c < cinfo.num_components; ++c) {
      const jpeg_component_info& comp = cinfo.comp_info[c];
      const int64_t rows = (static_cast<int64_t>(comp.height_in_blocks) + comp.v_samp_factor - 1) /
                           comp.v_samp_factor * comp.v_samp_factor;
      bytes += static_cast<int64_t>(comp.width_in_blocks + comp.h_samp_factor) * rows * DCTSIZE2 *
               static_cast<int64_t>(sizeof(JCOEF));
    }
  }
  return bytes;
}

// Refuses a file whose decoding libjpeg would need more than the limit for.
bool CheckMemory(Decoder& d, int64_t bytes, Status& status) {
  if (bytes <= kJpegMemoryLimit) return true;
  FormatTooMuchMemory(d.err.message, sizeof d.err.message, bytes);
  status = Status::Failure(ErrorCode::TooLarge, d.err.message);
  return false;
}

// Reads the header into info and checks the size limits. Called inside the
// caller's setjmp scope (libjpeg may jump out of it); no C++ objects here.
bool ReadHeader(Decoder& d, JpegInfo& info, Status& status) {
  jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&d.cinfo, TRUE);
  info.width = static_cast<int>(d.cinfo.image_width);
  info.height = static_cast<int>(d.cinfo.image_height);
  info.components = d.cinfo.num_components;
  info.progressive = d.cinfo.progressive_mode != 0;
  info.orientation = OrientationOf(&d.cinfo);
  return CheckSize(d.cinfo, status);
}

// A stdio source with a larger buffer than jpeg_stdio_src's 4 KB: libjpeg's
// Huffman decoder takes its fast path only while at least 512 bytes per block
// of an MCU are buffered, so with 4 KB most MCUs went the slow way. Running
// out of data is handled as libjpeg's own sources do: a warning (which makes
// the file count as damaged) and a fake end-of-image marker.
constexpr size_t kSourceBuffer = 128 * 1024;

struct FileSource {
  jpeg_source_mgr pub;
  FILE* file;
  JOCTET* buffer;
  bool startOfFile;
};

void SourceInit(j_decompress_ptr cinfo) { reinterpret_cast<FileSource*>(cinfo->src)->startOfFile = true; }

boolean SourceFill(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<FileSource*>(cinfo->src);
  size_t n = std::fread(src->buffer, 1, kSourceBuffer, src->file);
  if (n == 0) {
    if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    n = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = n;
  src->startOfFile = false;
  return TRUE;
}

void SourceSkip(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  auto* src = &cinfo->src[0];
  size_t left = static_cast<size_t>(count);
  while (left > src->bytes_in_buffer) {
    left -= src->bytes_in_buffer;
    (*src->fill_input_buffer)(cinfo);
  }
  src->next_input_byte += left;
  src->bytes_in_buffer -= left;
}

void SourceTerm(j_decompress_ptr) {}

// A source of type Source (whose first member is the jpeg_source_mgr) that
// lives as long as the decompressor, installed with the given methods.
template <typename Source>
Source* InstallSource(j_decompress_ptr cinfo, void (*init)(j_decompress_ptr), boolean (*fill)(j_decompress_ptr)) {
  auto* src = static_cast<Source*>(
      (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(Source)));
  src->pub.init_source = init;
  src->pub.fill_input_buffer = fill;
  src->pub.skip_input_data = SourceSkip;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = SourceTerm;
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
  cinfo->src = &src->pub;
  return src;
}

void UseFileSource(j_decompress_ptr cinfo, FILE* file) {
  auto* src = InstallSource<FileSource>(cinfo, SourceInit, SourceFill);
  src->buffer = static_cast<JOCTET*>(
      (*cinfo->mem->alloc_large)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kSourceBuffer));
  src->file = file;
  src->startOfFile = true;
}

// The libjpeg part of decoding; no C++ objects with destructors live here.
// Returns 0 on success, 1 on a libjpeg error, 2 on a size refusal.
int DecodeCore(Decoder& d, const uint8_t* data, size_t size, FILE* file, Bitmap* out, JpegInfo& info, Status& status) {
  if (setjmp(d.err.jump)) {
    return 1;
  }
  if (file) {
    UseFileSource(&d.cinfo, file);
  } else {
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
  }
  const bool sizeAccepted = ReadHeader(d, info, status);
  info.decoderBytes = DecoderBytes(d.cinfo);
  if (!out) {
    // Only the header is wanted: the size limit guards decoding, and a
    // header of any size is read safely.
    status = Status();
    return 0;
  }
  if (!sizeAccepted) return 2;
  d.err.stopAtDamage = true;
  if (!CheckMemory(d, info.decoderBytes, status)) return 2;
  const bool grey = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
  d.cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  if (d.coverBox > 0) {
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = ReductionFor(d.cinfo, d.coverBox);
  }
  jpeg_start_decompress(&d.cinfo);
  NoteSettings(d.cinfo, info);
  // The pixel store is reserved, not filled: its pages are touched row by
  // row as they are decoded, so a file that is damaged early costs little.
  out->width = static_cast<int>(d.cinfo.output_width);
  out->height = static_cast<int>(d.cinfo.output_height);
  out->bitsPerPixel = grey ? 8 : 24;
  out->stride = static_cast<size_t>(out->width) * (grey ? 1 : 3);
  out->data.clear();
  out->data.reserve(out->stride * static_cast<size_t>(out->height));
  if (grey) out->palette = Bitmap::GreyPalette();
  while (d.cinfo.output_scanline < d.cinfo.output_height) {
    out->data.resize(out->data.size() + out->stride);
    JSAMPROW row = out->row(static_cast<int>(d.cinfo.output_scanline));
    jpeg_read_scanlines(&d.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&d.cinfo);
  return 0;
}

// What libjpeg's error (or its first damage warning) means, with its text.
Status DecodeFailure(const Decoder& d) {
  if (d.err.damageWarnings > 0) {
    return Status::Failure(ErrorCode::Damaged, std::string("damaged data: ") + d.err.message);
  }
  if (!d.err.message[0]) return Status::Failure(ErrorCode::Damaged, "not a JPEG file");
  return Status::Failure(d.err.code, d.err.message);
}

// The status with the file named in front of its reason.
Status OfFile(const std::string& path, const Status& status) {
  if (status.ok()) return status;
  return Status::Failure(status.code(), path + ": " + status.reason());
}

// Decodes from memory, or from file when one is given (read through a
// buffer, never held whole).
Status Decode(const uint8_t* data, size_t size, FILE* file, Bitmap* out, JpegInfo& info, int coverBox = 0) {
  Decoder d;
  SetUp(d);
  d.coverBox = coverBox;
  Status status;
  const int rc = DecodeCore(d, data, size, file, out, info, status);
  jpeg_destroy_decompress(&d.cinfo);
  if (rc == 1) status = DecodeFailure(d);
  if (rc != 0 && out) *out = Bitmap{};
  return status;
}

// The row buffer sits 16 bytes past a 32-byte boundary: at a 32-byte aligned
// address libjpeg-turbo's AVX2 colour conversion writes with non-temporal
// stores, and the row would then be read back from memory, not the cache.
JSAMPROW PlaceRow(j_decompress_ptr cinfo, size_t bytes) {
  auto* base = static_cast<uint8_t*>((*cinfo->mem->alloc_large)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                                 bytes + 64));
  const uintptr_t at = reinterpret_cast<uintptr_t>(base);
  return base + ((32 - at % 32) % 32) + 16;
}



// A progressive file rewritten as a sequential one while it is read (see
// ProgressiveStream). When the rewrite gives up half-way, decoding stops with
// an error and the caller starts again from the file itself.
struct RewriteSource {
  jpeg_source_mgr pub;
  ProgressiveStream* stream;
};

boolean RewriteFill(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<RewriteSource*>(cinfo->src);
  const uint8_t* data;
  size_t n;
  // A fill must hand libjpeg at least one byte: its byte count would wrap
  // round on an empty buffer reported as success.
  const bool more = src->stream->next(data, n);
  if (more && n == 0) ERREXIT(cinfo, JERR_INPUT_EOF);
  if (!more) {
    if (src->stream->failed()) ERREXIT(cinfo, JERR_INPUT_EOF);
    static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
    WARNMS(cinfo, JWRN_JPEG_EOF);
    data = kEnd;
    n = 2;
  }
  src->pub.next_input_byte = data;
  src->pub.bytes_in_buffer = n;
  return TRUE;
}

void UseRewriteSource(j_decompress_ptr cinfo, ProgressiveStream* stream) {
  InstallSource<RewriteSource>(cinfo, SourceTerm, RewriteFill)->stream = stream;
}

// jpeg_skip_scanlines leaves the next rows exact only where every vertically
// subsampled component goes through a fancy upsampler that takes context
// rows. libjpeg falls back to plain upsampling for a component at most two
// samples wide (a picture up to 4 pixels wide at 4:2:0), and skipping past
// its paired rows then gives other pixels than a full decode.
bool SkippingIsExact(const jpeg_decompress_struct& cinfo) {
  for (int c = 0; c < cinfo.num_components; ++c) {
    const jpeg_component_info& comp = cinfo.comp_info[c];
    if (comp.v_samp_factor == cinfo.max_v_samp_factor) continue;
    const bool h2v2 = comp.h_samp_factor * 2 == cinfo.max_h_samp_factor &&
                      comp.v_samp_factor * 2 == cinfo.max_v_samp_factor;
    const bool h1v2 = comp.h_samp_factor == cinfo.max_h_samp_factor &&
                      comp.v_samp_factor * 2 == cinfo.max_v_samp_factor;
    if (!(h1v2 || (h2v2 && comp.downsampled_width > 2))) return false;
  }
  return true;
}

// Moves the decoder forward by count rows: skipped where that is exact,
// otherwise read and dropped.
void PassRows(jpeg_decompress_struct* cinfo, bool skip, JSAMPROW row, JDIMENSION count) {
  if (skip) {
    jpeg_skip_scanlines(cinfo, count);
    return;
  }
  for (JDIMENSION i = 0; i < count; ++i) jpeg_read_scanlines(cinfo, &row, 1);
}

// The rewrite may write rows nobody takes as flat blocks. Kept out of
// StreamCore's frame, which holds no C++ objects.
void TellNeededRows(JpegRowConsumer& consumer, int height, ProgressiveStream& rewrite) {
  std::vector<int> rows;
  for (int y = consumer.nextRow(0); y < height; y = consumer.nextRow(y + 1)) rows.push_back(y);
  rows.push_back(height - 1);  // always decoded
  rewrite.needRows(rows);
}

// The libjpeg part of streaming; the same rules as DecodeCore. With rewrite,
// the file is read through it; askHeader is false when a decode starts again
// after the rewrite gave up (the consumer has seen the header already).
int StreamCore(Decoder& d, FILE* file, ProgressiveStream* rewrite, bool askHeader, JpegRowConsumer& consumer,
               JpegInfo& info, Status& status) {
  if (setjmp(d.err.jump)) {
    return 1;
  }
  if (rewrite) {
    UseRewriteSource(&d.cinfo, rewrite);
  } else {
    UseFileSource(&d.cinfo, file);
  }
  d.err.stopAtDamage = true;
  if (!ReadHeader(d, info, status)) return 2;
  info.decoderBytes = DecoderBytes(d.cinfo);
  if (!CheckMemory(d, info.decoderBytes, status)) return 2;
  if (rewrite) {
    info.progressive = true;
    info.decoderBytes += rewrite->memoryBytes();
  }
  if (askHeader && !consumer.header(info)) return 3;
  const bool grey = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
  d.cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  if (d.coverBox > 0) {
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = ReductionFor(d.cinfo, d.coverBox);
  }
  jpeg_start_decompress(&d.cinfo);
  NoteSettings(d.cinfo, info);
  // Skipped rows leave the others exact only with these settings (and
  // libjpeg-turbo 2.1's skipping misbehaves with merged upsampling). A
  // scaled decode is asked for only by callers that take every row, so it
  // never skips.
  const bool scaled = info.scaleNum != info.scaleDenom;
  if (!info.fancyUpsampling || !info.accurateDct || (scaled && d.coverBox <= 0)) {
    std::snprintf(d.err.message, sizeof d.err.message, "decoder settings unfit for skipping rows");
    d.err.code = ErrorCode::Unsupported;
    return 1;
  }
  JSAMPROW row = PlaceRow(&d.cinfo, static_cast<size_t>(d.cinfo.output_width) * (grey ? 1 : 3));
  const bool skip = !scaled && SkippingIsExact(d.cinfo);
  consumer.start(info);
  const int height = static_cast<int>(d.cinfo.output_height);
  // The rewrite counts rows at full scale: a scaled decode has it make them all.
  if (rewrite && !scaled) TellNeededRows(consumer, height, *rewrite);
  for (int y = consumer.nextRow(0); y < height; y = consumer.nextRow(y + 1)) {
    if (y < static_cast<int>(d.cinfo.output_scanline)) y = static_cast<int>(d.cinfo.output_scanline);
    if (y > static_cast<int>(d.cinfo.output_scanline)) {
      PassRows(&d.cinfo, skip, row, static_cast<JDIMENSION>(y) - d.cinfo.output_scanline);
    }
    jpeg_read_scanlines(&d.cinfo, &row, 1);
    consumer.takeRow(y, row);
  }
  if (d.cinfo.output_scanline < d.cinfo.output_height) {
    if (d.cinfo.output_scanline + 1 < d.cinfo.output_height) {
      PassRows(&d.cinfo, skip, row, d.cinfo.output_height - 1 - d.cinfo.output_scanline);
    }
    jpeg_read_scanlines(&d.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&d.cinfo);
  return 0;
}

struct Encoder {
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

int EncodeCore(Encoder& e, const Bitmap& rgb, int quality, const std::vector<JpegSegment>& segments) {
  if (setjmp(e.err.jump)) return 1;
  jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
  e.cinfo.image_width = static_cast<JDIMENSION>(rgb.width);
  e.cinfo.image_height = static_cast<JDIMENSION>(rgb.height);
  e.cinfo.input_components = 3;
  e.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&e.cinfo);
  jpeg_set_quality(&e.cinfo, quality, TRUE);
  jpeg_start_compress(&e.cinfo, TRUE);
  for (const JpegSegment& segment : segments) {
    jpeg_write_marker(&e.cinfo, segment.marker, reinterpret_cast<const JOCTET*>(segment.data.data()),
                      static_cast<unsigned int>(segment.data.size()));
  }
  while (e.cinfo.next_scanline < e.cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.row(static_cast<int>(e.cinfo.next_scanline)));
    jpeg_write_scanlines(&e.cinfo, &row, 1);
  }
  jpeg_finish_compress(&e.cinfo);
  return 0;
}

// Opens a picture for reading: only a regular file (a pipe or a device with
// a picture's name would block or never end), unbuffered, as the sources
// have their own buffer.
FILE* OpenPicture(const std::string& path, Status& status) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = fd < 0 ? errno : (S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (fd >= 0) ::close(fd);
    status = Status::Failure(err == ENOENT ? ErrorCode::NotFound : ErrorCode::CannotRead, SystemErrorText(path, err));
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    status = Status::Failure(ErrorCode::CannotRead, SystemErrorText(path, errno));
    ::close(fd);
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

// A segment's payload is at most 65535 bytes less its two length bytes.
constexpr size_t kMaxSegmentPayload = 65533;

bool StartsWith(jpeg_saved_marker_ptr m, const char* text, size_t length) {
  return m->data_length >= length && std::memcmp(m->data, text, length) == 0;
}

bool KeptSegment(jpeg_saved_marker_ptr m) {
  switch (m->marker) {
    case JPEG_APP0 + 1: return true;  // EXIF, XMP and extended XMP
    case JPEG_APP0 + 2: return StartsWith(m, "ICC_PROFILE\0", 12);
    case JPEG_APP0 + 13: return StartsWith(m, "Photoshop 3.0\0", 14);
    case JPEG_COM: return true;
    default: return false;
  }
}

// Reads the header with the kept segments saved; no C++ objects here.
int ReadSegmentsCore(Decoder& d, FILE* file) {
  if (setjmp(d.err.jump)) return 1;
  UseFileSource(&d.cinfo, file);
  for (int marker : {JPEG_APP0 + 1, JPEG_APP0 + 2, JPEG_APP0 + 13, static_cast<int>(JPEG_COM)}) {
    jpeg_save_markers(&d.cinfo, marker, 0xFFFF);
  }
  jpeg_read_header(&d.cinfo, TRUE);
  return 0;
}

Status DecodePictureFile(const std::string& path, Bitmap* out, JpegInfo& info, int coverBox = 0) {
  Status status;
  FILE* file = OpenPicture(path, status);
  if (!file) return status;
  status = Decode(nullptr, 0, file, out, info, coverBox);
  std::fclose(file);
  return OfFile(path, status);
}

}  // namespace

Status ReadJpegMetadata(const std::string& path, std::vector<JpegSegment>& segments) {
  segments.clear();
  Status status;
  FILE* file = OpenPicture(path, status);
  if (!file) return status;
  Decoder d;
  SetUp(d);
  struct Release {
    Decoder& d;
    FILE* file;
    ~Release() {
      jpeg_destroy_decompress(&d.cinfo);
      std::fclose(file);
    }
  } release{d, file};
  if (ReadSegmentsCore(d, file) != 0) return OfFile(path, DecodeFailure(d));
  for (jpeg_saved_marker_ptr m = d.cinfo.marker_list; m; m = m->next) {
    if (KeptSegment(m)) segments.push_back({m->marker, std::string(reinterpret_cast<const char*>(m->data), m->data_length)});
  }
  return {};
}

Status ReadJpegInfo(const std::string& path, JpegInfo& info) { return DecodePictureFile(path, nullptr, info); }

Status StreamJpegFile(const std::string& path, JpegRowConsumer& consumer, JpegInfo& info, int coverBox) {
  Status status;
  FILE* file = OpenPicture(path, status);
  if (!file) return status;
  ProgressiveStream rewrite;
  const bool rewriting = rewrite.open(fileno(file));
  Decoder d;
  int rc;
  try {
    SetUp(d);
    d.coverBox = coverBox;
    rc = StreamCore(d, file, rewriting ? &rewrite : nullptr, true, consumer, info, status);
    if (rewriting && rewrite.failed() && rc != 3) {
      // Something the rewrite does not reproduce exactly (damaged data, for
      // one): decode the file itself, so that it fails or succeeds exactly
      // as libjpeg decides.
      jpeg_destroy_decompress(&d.cinfo);
      d = Decoder{};
      SetUp(d);
      d.coverBox = coverBox;
      std::rewind(file);
      status = Status();
      rc = StreamCore(d, file, nullptr, false, consumer, info, status);
    }
  } catch (...) {
    jpeg_destroy_decompress(&d.cinfo);
    std::fclose(file);
    throw;
  }
  jpeg_destroy_decompress(&d.cinfo);
  std::fclose(file);
  // The consumer stopped it for the memory it would take; nothing is wrong with the file.
  if (rc == 3) return Status::Failure(ErrorCode::TooLarge, "");
  if (rc == 1) status = DecodeFailure(d);
  return OfFile(path, status);
}

Status DecodeJpegMemory(const uint8_t* data, size_t size, Bitmap& out, JpegInfo& info) {
  return Decode(data, size, nullptr, &out, info);
}

Status DecodeJpegFile(const std::string& path, Bitmap& out, JpegInfo& info) {
  return DecodePictureFile(path, &out, info);
}

Status DecodeJpegFileToCover(const std::string& path, int box, Bitmap& out, JpegInfo& info) {
  return DecodePictureFile(path, &out, info, box);
}

Status EncodeJpeg(const Bitmap& picture, int quality, std::string& bytes) {
  return EncodeJpeg(picture, quality, {}, bytes);
}

Status EncodeJpeg(const Bitmap& picture, int quality, const std::vector<JpegSegment>& segments, std::string& bytes) {
  for (const JpegSegment& segment : segments) {
    if (segment.data.size() > kMaxSegmentPayload) {
      return Status::Failure(ErrorCode::TooLarge, "a metadata segment is too long");
    }
  }
  if (picture.empty()) return Status::Failure(ErrorCode::BadValue, "empty picture");
  const Bitmap rgb = picture.bitsPerPixel == 24 ? Bitmap{} : ToRgb24(picture);
  const Bitmap& src = picture.bitsPerPixel == 24 ? picture : rgb;
  if (src.bitsPerPixel != 24) return Status::Failure(ErrorCode::Unsupported, "unsupported pixel format");
  Encoder e;
  e.cinfo.err = jpeg_std_error(&e.err.pub);
  e.err.pub.error_exit = OnError;
  e.err.message[0] = '\0';
  e.err.code = ErrorCode::BadValue;
  jpeg_create_compress(&e.cinfo);
  const int rc = EncodeCore(e, src, quality < 0 ? 0 : (quality > 100 ? 100 : quality), segments);
  jpeg_destroy_compress(&e.cinfo);
  if (rc == 0) bytes.assign(reinterpret_cast<const char*>(e.buffer), e.size);
  std::free(e.buffer);
  if (rc != 0) return Status::Failure(e.err.code, e.err.message);
  return {};
}

Status WriteJpegFile(const std::string& path, const Bitmap& picture, int quality) {
  std::string bytes;
  if (Status encoded = EncodeJpeg(picture, quality, bytes); !encoded.ok()) return encoded;
  return WriteFileAtomically(path, bytes);
}

}  // namespace pictavo
