#pragma once
// Statuses in assertions: ASSERT_TRUE(Succeeded(DecodeJpegFile(...))) prints
// the reason when the call failed.

#include <gtest/gtest.h>

#include "platform/error.h"

namespace pictavo {

inline ::testing::AssertionResult Succeeded(const Status& status) {
  if (status.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.reason();
}

}  // namespace pictavo
