#pragma once
// What a libjpeg error means to a caller; shared by the decoder and both
// encoders, which each keep their own error manager.

#include "platform/error.h"

namespace pictavo {

// The code for libjpeg's error `msgCode` (a J_MESSAGE_CODE): the limits on
// memory and size are TooLarge, what the library does not implement is
// Unsupported, anything else is damage when decoding and a picture that
// cannot be encoded when encoding.
ErrorCode LibjpegErrorCode(int msgCode, bool decoding);

}  // namespace pictavo
