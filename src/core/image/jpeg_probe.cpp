#include "image/jpeg_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "image/jpeg.h"

namespace pictavo {

namespace {

ProbeStep Fail(JpegProbe& probe, const char* why) {
  probe.ok = false;
  probe.error = why;
  return ProbeStep::Done;
}

}  // namespace

ProbeStep ProbeJpegHead(const uint8_t* data, size_t size, bool whole, JpegProbe& probe) {
  probe = JpegProbe{};
  // Running out of bytes asks for more, unless there are no more.
  auto shortOf = [&](const char* why) { return whole ? Fail(probe, why) : ProbeStep::NeedMore; };
  if (size < 2) return shortOf("not a JPEG file");
  if (data[0] != 0xFF || data[1] != 0xD8) return Fail(probe, "not a JPEG file");
  bool frame = false;
  bool oriented = false;
  size_t p = 2;
  while (true) {
    if (p >= size) return shortOf("the file ends inside its header");
    if (data[p] != 0xFF) return Fail(probe, "damaged header");
    while (p < size && data[p] == 0xFF) ++p;
    if (p >= size) return shortOf("the file ends inside its header");
    const uint8_t marker = data[p++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0x00 || marker == 0xD8) return Fail(probe, "damaged header");
    if (marker == 0xD9) return Fail(probe, "no picture data");
    if (p + 2 > size) return shortOf("the file ends inside its header");
    const size_t length = static_cast<size_t>(data[p] << 8 | data[p + 1]);
    if (length < 2) return Fail(probe, "damaged header");
    if (p + length > size) return shortOf("the file ends inside its header");
    const uint8_t* segment = data + p + 2;
    const size_t segmentLength = length - 2;
    const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (sof) {
      if (frame || segmentLength < 6) return Fail(probe, "damaged header");
      probe.height = segment[1] << 8 | segment[2];
      probe.width = segment[3] << 8 | segment[4];
      if (probe.width == 0 || probe.height == 0 || segment[5] == 0) return Fail(probe, "no picture size in the header");
      frame = true;
    } else if (marker == 0xE1 && !oriented) {
      // The first EXIF segment that names an orientation, as the decoder takes it.
      const int o = ParseExifOrientation(segment, segmentLength);
      if (o != 1) {
        probe.orientation = o;
        oriented = true;
      }
    } else if (marker == 0xDA) {
      if (!frame) return Fail(probe, "no picture size in the header");
      probe.ok = true;
      return ProbeStep::Done;
    }
    p += length;
  }
}

JpegProbe ProbeJpegFile(const std::string& path) {
  JpegProbe probe;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    probe.error = std::strerror(errno);
    return probe;
  }
  // Most files this meets are thumbnails: one read holds the whole file.
  std::vector<uint8_t> buffer(64 * 1024);
  size_t have = 0;
  bool whole = false;
  while (true) {
    const ssize_t n = ::read(fd, buffer.data() + have, buffer.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      probe.error = std::strerror(errno);
      ::close(fd);
      return probe;
    }
    have += static_cast<size_t>(n);
    whole = n == 0 || have < buffer.size();
    if (n == 0 || have == buffer.size() || whole) {
      if (ProbeJpegHead(buffer.data(), have, whole, probe) == ProbeStep::Done) break;
      if (buffer.size() >= kProbeReadLimit) {
        probe = JpegProbe{};
        probe.error = "header larger than 1 MB";
        break;
      }
      buffer.resize(buffer.size() * 2);
    }
  }
  if (probe.ok) {
    uint8_t tail[2] = {0, 0};
    bool read = false;
    if (whole) {
      read = have >= 2;
      if (read) std::memcpy(tail, buffer.data() + have - 2, 2);
    } else {
      struct stat st {};
      read = ::fstat(fd, &st) == 0 && st.st_size >= 2 && ::pread(fd, tail, 2, st.st_size - 2) == 2;
    }
    if (!read || tail[0] != 0xFF || tail[1] != 0xD9) {
      probe.ok = false;
      probe.error = "the file ends before the end of its picture";
    }
  }
  ::close(fd);
  return probe;
}

}  // namespace pictavo
