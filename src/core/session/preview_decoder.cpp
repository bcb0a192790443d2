#include "session/preview_decoder.h"

#include <utility>
#include <vector>

#include "image/exif.h"
#include "image/jpeg.h"
#include "session/picture_list.h"

namespace pictavo {

PreviewPicture DecodePreview(const std::string& path) {
  PreviewPicture p;
  JpegInfo info;
  if (const Status decoded = DecodeJpegFileToCover(path, kPreviewBox, p.picture, info); !decoded.ok()) {
    p.error = decoded.reason().empty() ? path : decoded.reason();
    return p;
  }
  // Upright, as the album's thumbnails and every viewer show it.
  const bool swap = info.orientation >= 5 && info.orientation <= 8;
  if (info.orientation != 1) p.picture = ApplyOrientation(p.picture, info.orientation);
  const PreviewSize fit = PreviewFit(swap ? info.height : info.width, swap ? info.width : info.height);
  p.fitWidth = fit.width;
  p.fitHeight = fit.height;
  p.ok = true;
  return p;
}

PreviewPicture EmbeddedPreview(const std::string& path) {
  PreviewPicture p;
  std::vector<JpegSegment> segments;
  JpegInfo info;
  Status read = ReadJpegMetadata(path, segments);
  if (read.ok()) read = ReadJpegInfo(path, info);
  if (!read.ok()) {
    p.error = read.reason();
    return p;
  }
  for (const JpegSegment& s : segments) {
    if (s.marker != 0xE1) continue;
    const std::string thumbnail = ReadExifFacts(s.data).thumbnail;
    JpegInfo small;
    if (thumbnail.empty()) continue;
    const Status decoded =
        DecodeJpegMemory(reinterpret_cast<const uint8_t*>(thumbnail.data()), thumbnail.size(), p.picture, small);
    if (!decoded.ok()) {
      p.error = decoded.reason();
      continue;
    }
    // Stored as the picture is: the picture's orientation turns it upright.
    const bool swap = info.orientation >= 5 && info.orientation <= 8;
    const PreviewSize fit = PreviewFit(swap ? info.height : info.width, swap ? info.width : info.height);
    const PreviewSize own = PreviewFit(swap ? small.height : small.width, swap ? small.width : small.height);
    if (fit.width != own.width || fit.height != own.height) continue;
    if (info.orientation != 1) p.picture = ApplyOrientation(p.picture, info.orientation);
    p.fitWidth = fit.width;
    p.fitHeight = fit.height;
    p.ok = true;
    p.error.clear();
    return p;
  }
  p.picture = Bitmap{};
  return p;
}

PreviewDecoder::PreviewDecoder(Deliver deliver, Decode decode, Decode quick)
    : m_deliver(std::move(deliver)),
      m_decode(std::move(decode)),
      m_quick(std::move(quick)),
      m_thread([this] { work(); }) {}

PreviewDecoder::~PreviewDecoder() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
    ++m_latest;
  }
  m_changed.notify_all();
  m_thread.join();
}

uint64_t PreviewDecoder::request(const std::string& path) {
  uint64_t ticket;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    ticket = ++m_latest;
    m_pending = path;
  }
  m_changed.notify_all();
  return ticket;
}

void PreviewDecoder::cancel() {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_latest;
  m_pending.reset();
}

bool PreviewDecoder::current(uint64_t ticket) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return ticket == m_latest;
}

void PreviewDecoder::work() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [&] { return m_stop || m_pending; });
    if (m_stop) return;
    const std::string path = std::move(*m_pending);
    m_pending.reset();
    const uint64_t ticket = m_latest;
    lock.unlock();
    if (m_quick) {
      PreviewPicture early = m_quick(path);
      if (early.ok && current(ticket)) m_deliver(ticket, std::move(early));
    }
    PreviewPicture picture = m_decode(path);
    lock.lock();
    // Overtaken while it decoded: the newer request is already pending.
    if (ticket != m_latest) continue;
    lock.unlock();
    m_deliver(ticket, std::move(picture));
    lock.lock();
  }
}

}  // namespace pictavo
