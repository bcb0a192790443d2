#include "image/jpeg_row_encoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "image/libjpeg_error.h"

namespace pictavo {

namespace {

// A segment's payload is at most 65535 bytes less its two length bytes.
constexpr size_t kMaxSegmentPayload = 65533;

struct EncodeErrors {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  ErrorCode code;
};

void OnEncodeError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<EncodeErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  err->code = LibjpegErrorCode(cinfo->err->msg_code, false);
  std::longjmp(err->jump, 1);
}

// The bytes grow in one buffer of our own: libjpeg's memory destination
// frees its first buffer when it grows, leaving the caller's pointer to it
// dangling until the end, so an encoding dropped half-way could not be
// freed safely through it.
struct GrowingDestination {
  jpeg_destination_mgr pub;
  JOCTET* data;
  size_t capacity;
  size_t size;  // once finished
};

void DestinationInit(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<GrowingDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->data;
  dest->pub.free_in_buffer = dest->capacity;
}

boolean DestinationGrow(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<GrowingDestination*>(cinfo->dest);
  auto* grown = static_cast<JOCTET*>(std::realloc(dest->data, dest->capacity * 2));
  if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
  dest->data = grown;
  dest->pub.next_output_byte = grown + dest->capacity;
  dest->pub.free_in_buffer = dest->capacity;
  dest->capacity *= 2;
  return TRUE;
}

void DestinationTerm(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<GrowingDestination*>(cinfo->dest);
  dest->size = dest->capacity - dest->pub.free_in_buffer;
}

}  // namespace

// The compressor and its error state. The functions that call libjpeg hold
// no C++ object, as libjpeg's errors leave them by longjmp.
struct JpegRowEncoder::Core {
  jpeg_compress_struct cinfo{};
  EncodeErrors err{};
  GrowingDestination dest{};
  bool created = false;
  bool failed = false;

  ~Core() {
    if (created) jpeg_destroy_compress(&cinfo);
    std::free(dest.data);
  }
};

namespace {

int StartCore(jpeg_compress_struct& cinfo, EncodeErrors& err, int width, int height, int quality, bool raw,
              const JpegSegment* segments, size_t count) {
  if (setjmp(err.jump)) return 1;
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.raw_data_in = raw ? TRUE : FALSE;
  jpeg_start_compress(&cinfo, TRUE);
  for (size_t i = 0; i < count; ++i) {
    jpeg_write_marker(&cinfo, segments[i].marker, reinterpret_cast<const JOCTET*>(segments[i].data.data()),
                      static_cast<unsigned int>(segments[i].data.size()));
  }
  return 0;
}

int WriteCore(jpeg_compress_struct& cinfo, EncodeErrors& err, JSAMPARRAY rows, JDIMENSION count) {
  if (setjmp(err.jump)) return 1;
  // A memory destination never suspends: every row is taken at once.
  return jpeg_write_scanlines(&cinfo, rows, count) == count ? 0 : 2;
}

int WriteRawCore(jpeg_compress_struct& cinfo, EncodeErrors& err, JSAMPIMAGE planes, JDIMENSION count) {
  if (setjmp(err.jump)) return 1;
  return jpeg_write_raw_data(&cinfo, planes, count) == count ? 0 : 2;
}

int FinishCore(jpeg_compress_struct& cinfo, EncodeErrors& err) {
  if (setjmp(err.jump)) return 1;
  jpeg_finish_compress(&cinfo);
  return 0;
}

}  // namespace

JpegRowEncoder::JpegRowEncoder() = default;
JpegRowEncoder::~JpegRowEncoder() = default;

Status JpegRowEncoder::fail(ErrorCode code, std::string reason) {
  if (m_core) m_core->failed = true;
  m_status = Status::Failure(code, std::move(reason));
  return m_status;
}

Status JpegRowEncoder::start(int width, int height, int channels, int quality,
                             const std::vector<JpegSegment>& segments) {
  m_core.reset();
  m_status = Status();
  for (const JpegSegment& segment : segments) {
    if (segment.data.size() > kMaxSegmentPayload) return fail(ErrorCode::TooLarge, "a metadata segment is too long");
  }
  if (width <= 0 || height <= 0) return fail(ErrorCode::BadValue, "empty picture");
  if (channels != 1 && channels != 3) return fail(ErrorCode::Unsupported, "unsupported pixel format");
  m_width = width;
  m_height = height;
  m_channels = channels;
  m_given = 0;
  m_fill = 0;
  if (channels == 1) {
    // The defaults' 4:2:0 frame: an MCU row is 16 luma rows, 8 of each
    // chroma; luma is read a whole block wide, chroma half as wide.
    const size_t mcus = (static_cast<size_t>(width) + 15) / 16;
    m_lumaWidth = mcus * 16;
    m_group.assign(m_lumaWidth * 16, 0);
    m_chroma.assign(mcus * 8, 128);
  }
  m_core = std::make_unique<Core>();
  Core& c = *m_core;
  c.cinfo.err = jpeg_std_error(&c.err.pub);
  c.err.pub.error_exit = OnEncodeError;
  c.err.code = ErrorCode::BadValue;
  jpeg_create_compress(&c.cinfo);
  c.created = true;
  // About what a photograph's copy at quality 85 takes, so that it seldom grows.
  c.dest.capacity = std::max<size_t>(64 * 1024, static_cast<size_t>(width) * static_cast<size_t>(height) / 4);
  c.dest.data = static_cast<JOCTET*>(std::malloc(c.dest.capacity));
  if (!c.dest.data) return fail(ErrorCode::TooLarge, "not enough memory to encode the picture");
  c.dest.pub.init_destination = DestinationInit;
  c.dest.pub.empty_output_buffer = DestinationGrow;
  c.dest.pub.term_destination = DestinationTerm;
  c.cinfo.dest = &c.dest.pub;
  if (StartCore(c.cinfo, c.err, width, height, quality < 0 ? 0 : (quality > 100 ? 100 : quality), channels == 1,
                segments.data(), segments.size()) != 0) {
    return fail(c.err.code, c.err.message);
  }
  return {};
}

Status JpegRowEncoder::write(const uint8_t* const* rows, int count) {
  if (!m_core || m_core->failed) {
    if (m_status.ok()) m_status = Status::Failure(ErrorCode::BadValue, "the encoder was not started");
    return m_status;
  }
  Core& c = *m_core;
  // libjpeg ignores rows past the last with a warning on stderr; refuse them.
  if (count < 0 || count > m_height - m_given) return fail(ErrorCode::BadValue, "more rows than the picture has");
  m_given += count;
  if (m_channels == 1) {
    // A grey picture is written as EncodeJpeg writes its colour copy, whose
    // colour conversion gives luma equal to the grey and chroma exactly 128
    // (the conversion's weights sum to one and zero): so the planes go in as
    // they are, without converting or subsampling. Each row is widened by
    // its last sample and the last row repeated below, as libjpeg pads.
    for (int r = 0; r < count; ++r) {
      uint8_t* d = m_group.data() + m_lumaWidth * static_cast<size_t>(m_fill);
      std::memcpy(d, rows[r], static_cast<size_t>(m_width));
      std::memset(d + m_width, rows[r][m_width - 1], m_lumaWidth - static_cast<size_t>(m_width));
      if (++m_fill == 16) {
        if (Status written = writeGreyGroup(); !written.ok()) return written;
      }
    }
    return {};
  }
  const size_t n = static_cast<size_t>(count);
  m_rows.assign(rows, rows + n);
  if (WriteCore(c.cinfo, c.err, const_cast<JSAMPARRAY>(m_rows.data()), static_cast<JDIMENSION>(count)) != 0) {
    return failInLibjpeg();
  }
  return {};
}

Status JpegRowEncoder::writeGreyGroup() {
  Core& c = *m_core;
  for (int r = m_fill; r < 16; ++r) {
    std::memcpy(m_group.data() + m_lumaWidth * static_cast<size_t>(r),
                m_group.data() + m_lumaWidth * static_cast<size_t>(m_fill - 1), m_lumaWidth);
  }
  m_rows.resize(32);
  for (size_t r = 0; r < 16; ++r) m_rows[r] = m_group.data() + m_lumaWidth * r;
  for (size_t r = 16; r < 32; ++r) m_rows[r] = m_chroma.data();
  JSAMPARRAY planes[3] = {const_cast<JSAMPARRAY>(m_rows.data()), const_cast<JSAMPARRAY>(m_rows.data() + 16),
                          const_cast<JSAMPARRAY>(m_rows.data() + 24)};
  m_fill = 0;
  if (WriteRawCore(c.cinfo, c.err, planes, 16) != 0) return failInLibjpeg();
  return {};
}

// A write that libjpeg refused (its message) or took only in part.
Status JpegRowEncoder::failInLibjpeg() {
  const EncodeErrors& err = m_core->err;
  if (!err.message[0]) return fail(ErrorCode::BadValue, "the encoder took fewer rows than it was given");
  return fail(err.code, err.message);
}

Status JpegRowEncoder::finish(std::string& bytes) {
  if (!m_core || m_core->failed) {
    if (m_status.ok()) m_status = Status::Failure(ErrorCode::BadValue, "the encoder was not started");
    return m_status;
  }
  Core& c = *m_core;
  if (m_given < m_height) return fail(ErrorCode::BadValue, "the picture ended before its last row");
  if (m_fill > 0) {
    if (Status written = writeGreyGroup(); !written.ok()) return written;
  }
  if (c.cinfo.next_scanline < c.cinfo.image_height) {
    return fail(ErrorCode::BadValue, "the picture ended before its last row");
  }
  if (FinishCore(c.cinfo, c.err) != 0) return fail(c.err.code, c.err.message);
  bytes.assign(reinterpret_cast<const char*>(c.dest.data), c.dest.size);
  m_core.reset();
  return {};
}

}  // namespace pictavo
