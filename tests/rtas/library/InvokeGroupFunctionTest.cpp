#include "rtas/library/InvokeGroupFunction.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "rtas/library/ErrorThrowers.h"

namespace {

class LambdaFunctor : public SGenFuncRetLong {
 public:
  explicit LambdaFunctor(std::function<int32_t()> body) : mBody(std::move(body)) {}
  int32_t operator()() override { return mBody(); }

 private:
  std::function<int32_t()> mBody;
};

}  // namespace

TEST(InvokeGroupFunction, EveryExceptionBecomesAHostCode) {
  struct Row {
    const char* what;
    std::function<int32_t()> body;
    int32_t result;
  };
  const Row rows[] = {
      {"a result", [] { return -7157; }, -7157},
      {"success", [] { return 0; }, 0},
      {"lack of memory", []() -> int32_t { throw std::bad_alloc(); }, -9006},
      {"a library error", []() -> int32_t { throw CDAEError(-7126); }, -7126},
      {"a library error for memory", []() -> int32_t { throw CDAEError(-9006); }, -9006},
      {"a plain code", []() -> int32_t { ThrowPlainCode(-9060); }, -7401},
      {"a bare int", []() -> int32_t { throw -9006; }, -7401},
      {"a bare short", []() -> int32_t { throw static_cast<short>(-9060); }, -7401},
      {"a standard exception", []() -> int32_t { throw std::runtime_error("x"); }, -7401},
  };
  for (const Row& row : rows) {
    LambdaFunctor functor(row.body);
    EXPECT_EQ(InvokeGroupFunction(functor), row.result) << row.what;
  }
}
