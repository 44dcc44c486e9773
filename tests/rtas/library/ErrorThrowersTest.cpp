#include "rtas/library/ErrorThrowers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The code a call throws as a CDAEError, or 0 when it returns.
int32_t ThrownCode(const std::function<void()>& call) {
  try {
    call();
  } catch (const CDAEError& error) {
    return error.Code();
  }
  return 0;
}

}  // namespace

TEST(ErrorThrowers, ThrowersReportTheirCodesAndPassWhenAllIsWell) {
  int object = 0;
  struct Row {
    const char* what;
    std::function<void()> call;
    int32_t code;
  };
  const Row rows[] = {
      {"false condition", [] { ThrowIfFalse(false); }, -7400},
      {"true condition", [] { ThrowIfFalse(true); }, 0},
      {"null pointer", [] { ThrowIfNil(nullptr); }, -7053},
      {"pointer", [&] { ThrowIfNil(&object); }, 0},
      {"zero word", [] { ThrowIfNull(0); }, -7053},
      {"word", [] { ThrowIfNull(1); }, 0},
      {"framework code", [] { ThrowIfError(-2802); }, -2802},
      {"lowest 16-bit code", [] { ThrowIfError(-32768); }, -32768},
      {"no error", [] { ThrowIfError(0); }, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(ThrownCode(row.call), row.code) << row.what;
}

TEST(ErrorThrowers, APlainCodeIsNotALibraryError) {
  bool caughtAsLibraryError = false;
  int16_t plain = 0;
  try {
    try {
      ThrowPlainCode(-9060);
    } catch (const CDAEError&) {
      caughtAsLibraryError = true;
    }
  } catch (const CPlainCodeError& error) {
    plain = error.Code();
  }
  EXPECT_FALSE(caughtAsLibraryError);
  EXPECT_EQ(plain, -9060);
}
