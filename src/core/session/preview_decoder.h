#pragma once
// The main window's preview of a clicked picture: the decode rule, and a
// thread that runs it so the window never waits for a photograph. The newest
// request wins: a result that a later click has overtaken is never handed
// over, and the window checks once more when it arrives.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "image/bitmap.h"

namespace pictavo {

struct PreviewPicture {
  bool ok = false;
  std::string error;  // when not ok: the reason, naming the file
  Bitmap picture;     // upright, at a reduced scale that still covers the box
  int fitWidth = 0;   // the 150 x 150 box fit of the upright picture
  int fitHeight = 0;
};

// Decodes at the smallest DCT scale whose longer side covers the preview box
// (only drawn, never written) and turns the picture upright.
PreviewPicture DecodePreview(const std::string& path);
// The file's embedded EXIF thumbnail the same way, shown while the picture
// decodes; not ok when there is none or its proportions differ from the
// picture's (its 150-pixel fit would be another size). Reads the header only.
PreviewPicture EmbeddedPreview(const std::string& path);

class PreviewDecoder {
 public:
  using Decode = std::function<PreviewPicture(const std::string& path)>;
  // Called on the decoder's thread with the request's ticket.
  using Deliver = std::function<void(uint64_t ticket, PreviewPicture picture)>;

  // quick, when given, runs first; its result is handed over when ok, and
  // the decode's follows.
  explicit PreviewDecoder(Deliver deliver, Decode decode = DecodePreview, Decode quick = EmbeddedPreview);
  // Waits for a decode in progress; its result is not delivered.
  ~PreviewDecoder();
  PreviewDecoder(const PreviewDecoder&) = delete;
  PreviewDecoder& operator=(const PreviewDecoder&) = delete;

  // Asks for `path`; every earlier request is overtaken. Returns at once.
  uint64_t request(const std::string& path);
  // Overtakes every request without a new one.
  void cancel();
  // True while no later request (or cancel) has overtaken `ticket`.
  bool current(uint64_t ticket) const;

 private:
  void work();

  Deliver m_deliver;
  Decode m_decode;
  Decode m_quick;
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  uint64_t m_latest = 0;
  std::optional<std::string> m_pending;  // the newest request not yet started
  bool m_stop = false;
  std::thread m_thread;
};

}  // namespace pictavo
