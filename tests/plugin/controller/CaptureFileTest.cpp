#include "plugin/controller/CaptureFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "plugin/controller/ReferenceCapture.h"
#include "tests/plugin/controller/AudioFileBytes.h"

namespace {

using audiofiletest::AppendInt;
using audiofiletest::Bytes;

constexpr int kN = kReferencePointCount;

void AppendDouble(Bytes& b, double d) {
  uint64_t u;
  std::memcpy(&u, &d, 8);
  AppendInt(b, static_cast<int64_t>(u), 8, false);
}

// A capture file laid out by hand: magic, version, count, then whatever
// frequencies and magnitudes the case gives, all little-endian.
Bytes CaptureBytes(uint32_t magic, uint32_t version, uint32_t count, const std::vector<double>& f,
                   const std::vector<double>& m) {
  Bytes b;
  AppendInt(b, magic, 4, false);
  AppendInt(b, version, 4, false);
  AppendInt(b, count, 4, false);
  for (double v : f) AppendDouble(b, v);
  for (double v : m) AppendDouble(b, v);
  return b;
}

std::vector<double> Frequencies(int n) {
  std::vector<double> f(n);
  for (int i = 0; i < n; ++i) f[i] = 10.0 * std::pow(2205.0, i / (n - 1.0));
  return f;
}

// Values whose bit patterns a sloppy encoder would change.
std::vector<double> Magnitudes(int n) {
  std::vector<double> m(n);
  for (int i = 0; i < n; ++i) m[i] = std::ldexp(1.0 + i / 7.0, (i % 40) - 20);
  m[0] = 0.0;
  m[1] = -0.0;
  m[2] = std::numeric_limits<double>::denorm_min();
  m[3] = std::numeric_limits<double>::max();
  return m;
}

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t EntriesIn(const std::string& folder) {
  size_t n = 0;
  for (auto it = std::filesystem::directory_iterator(folder); it != std::filesystem::directory_iterator(); ++it) ++n;
  return n;
}

// A reference that differs from anything the cases write.
ReferenceCapture Previous() {
  std::vector<double> f = Frequencies(kN), m(kN, 0.25);
  ReferenceCapture r;
  EXPECT_TRUE(r.Set(f.data(), m.data(), kN));
  return r;
}

void ExpectSame(const ReferenceCapture& a, const ReferenceCapture& b) {
  EXPECT_EQ(std::memcmp(a.GetFrequencies(), b.GetFrequencies(), kN * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(a.GetMagnitudes(), b.GetMagnitudes(), kN * sizeof(double)), 0);
}

TEST(CaptureFile, WritesTheDocumentedBytesAndReadsThemBack) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.Ok());
  const std::string path = folder.PathOf("a.ref");
  const std::vector<double> f = Frequencies(kN), m = Magnitudes(kN);
  ASSERT_TRUE(WriteCaptureFile(path.c_str(), f.data(), m.data(), kN));
  EXPECT_EQ(ReadAll(path), CaptureBytes(0xF0F0F001u, 1, kN, f, m));
  EXPECT_EQ(EntriesIn(folder.PathOf("")), 1u);  // no temporary left beside it

  ReferenceCapture r;
  ASSERT_TRUE(ReadCaptureFile(path.c_str(), &r));
  EXPECT_EQ(std::memcmp(r.GetFrequencies(), f.data(), kN * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(r.GetMagnitudes(), m.data(), kN * sizeof(double)), 0);

  // Rewriting replaces the file as a whole.
  const std::vector<double> m2(kN, 3.5);
  ASSERT_TRUE(WriteCaptureFile(path.c_str(), f.data(), m2.data(), kN));
  ASSERT_TRUE(ReadCaptureFile(path.c_str(), &r));
  EXPECT_EQ(r.GetMagnitudes()[kN - 1], 3.5);
  EXPECT_EQ(EntriesIn(folder.PathOf("")), 1u);
}

TEST(CaptureFile, OtherPointCountsAreWrittenButNotTaken) {
  // The analyser's other resolutions write 34, 67 or 268 points; only 134
  // make a reference.
  ScratchFolder folder;
  for (const int n : {34, 67, 268}) {
    const std::string path = folder.PathOf("n" + std::to_string(n) + ".ref");
    const std::vector<double> f = Frequencies(n), m = Magnitudes(n);
    ASSERT_TRUE(WriteCaptureFile(path.c_str(), f.data(), m.data(), n));
    EXPECT_EQ(ReadAll(path), CaptureBytes(0xF0F0F001u, 1, n, f, m)) << n;
    ReferenceCapture r = Previous();
    EXPECT_FALSE(ReadCaptureFile(path.c_str(), &r)) << n;
    ExpectSame(r, Previous());
  }
}

struct BadFile {
  const char* name;
  Bytes bytes;
};

std::vector<BadFile> BadFiles() {
  const std::vector<double> f = Frequencies(kN), m = Magnitudes(kN);
  const Bytes good = CaptureBytes(0xF0F0F001u, 1, kN, f, m);
  const auto cut = [&](size_t size) { return Bytes(good.begin(), good.begin() + size); };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> fNan = f, mInf = m, mNegInf = m;
  fNan[10] = nan;
  mInf[kN - 1] = inf;
  mNegInf[0] = -inf;
  std::vector<double> f135 = Frequencies(135), m135 = Magnitudes(135);
  return {
      {"Empty", {}},
      {"MagicCut", cut(3)},
      {"VersionCut", cut(6)},
      {"CountCut", cut(11)},
      {"NoArrays", cut(12)},
      {"FrequenciesCut", cut(12 + 8 * kN - 1)},
      {"FrequenciesOnly", cut(12 + 8 * kN)},
      {"LastMagnitudeCut", cut(good.size() - 1)},
      {"CountOneMoreThanHeld", CaptureBytes(0xF0F0F001u, 1, kN + 1, f, m)},
      {"CountOfMorePointsHeld", CaptureBytes(0xF0F0F001u, 1, 135, f135, m135)},
      {"CountHuge", CaptureBytes(0xF0F0F001u, 1, 0xFFFFFFFFu, f, m)},
      {"CountZero", CaptureBytes(0xF0F0F001u, 1, 0, {}, {})},
      {"MagicOtherByteOrder", CaptureBytes(0x01F0F0F0u, 1, kN, f, m)},
      {"MagicOffByOne", CaptureBytes(0xF0F0F002u, 1, kN, f, m)},
      {"StateChunkMagic", CaptureBytes(0xF0E1D2C3u, 1, kN, f, m)},
      {"Version0", CaptureBytes(0xF0F0F001u, 0, kN, f, m)},
      {"Version2", CaptureBytes(0xF0F0F001u, 2, kN, f, m)},
      {"NaNFrequency", CaptureBytes(0xF0F0F001u, 1, kN, fNan, m)},
      {"InfiniteMagnitude", CaptureBytes(0xF0F0F001u, 1, kN, f, mInf)},
      {"NegativeInfiniteMagnitude", CaptureBytes(0xF0F0F001u, 1, kN, f, mNegInf)},
  };
}

class CaptureFileRefused : public ::testing::TestWithParam<BadFile> {};

TEST_P(CaptureFileRefused, LeavesThePreviousReferenceUntouched) {
  ScratchFolder folder;
  const std::string path = folder.Write("bad.ref", GetParam().bytes);
  ASSERT_FALSE(path.empty());
  ReferenceCapture r = Previous();
  EXPECT_FALSE(ReadCaptureFile(path.c_str(), &r));
  ExpectSame(r, Previous());
}

INSTANTIATE_TEST_SUITE_P(Files, CaptureFileRefused, ::testing::ValuesIn(BadFiles()),
                         [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST(CaptureFile, BytesAfterTheLastMagnitudeAreIgnored) {
  ScratchFolder folder;
  const std::vector<double> f = Frequencies(kN), m = Magnitudes(kN);
  Bytes bytes = CaptureBytes(0xF0F0F001u, 1, kN, f, m);
  bytes.insert(bytes.end(), 37, 0xFF);
  ReferenceCapture r;
  ASSERT_TRUE(ReadCaptureFile(folder.Write("long.ref", bytes).c_str(), &r));
  EXPECT_EQ(std::memcmp(r.GetMagnitudes(), m.data(), kN * sizeof(double)), 0);
}

TEST(CaptureFile, ReaderRefusesWhatIsNoFile) {
  ScratchFolder folder;
  ReferenceCapture r = Previous();
  EXPECT_FALSE(ReadCaptureFile(folder.PathOf("missing.ref").c_str(), &r));
  EXPECT_FALSE(ReadCaptureFile(folder.PathOf("").c_str(), &r));  // the folder itself
  EXPECT_FALSE(ReadCaptureFile("", &r));
  EXPECT_FALSE(ReadCaptureFile(nullptr, &r));
  ExpectSame(r, Previous());
}

TEST(CaptureFile, WriterRefusesBadInputAndLeavesNothing) {
  ScratchFolder folder;
  const std::vector<double> f = Frequencies(kN), m = Magnitudes(kN);
  std::vector<double> mNan = m;
  mNan[50] = std::numeric_limits<double>::quiet_NaN();
  const std::string path = folder.PathOf("a.ref");
  EXPECT_FALSE(WriteCaptureFile(path.c_str(), f.data(), mNan.data(), kN));
  EXPECT_FALSE(WriteCaptureFile(path.c_str(), nullptr, m.data(), kN));
  EXPECT_FALSE(WriteCaptureFile(path.c_str(), f.data(), m.data(), -1));
  EXPECT_FALSE(WriteCaptureFile("", f.data(), m.data(), kN));
  EXPECT_FALSE(WriteCaptureFile(nullptr, f.data(), m.data(), kN));
  // A folder that does not exist, and a target that is a folder.
  EXPECT_FALSE(WriteCaptureFile(folder.PathOf("no/such/a.ref").c_str(), f.data(), m.data(), kN));
  std::filesystem::create_directory(folder.PathOf("dir.ref"));
  EXPECT_FALSE(WriteCaptureFile(folder.PathOf("dir.ref").c_str(), f.data(), m.data(), kN));
  EXPECT_EQ(EntriesIn(folder.PathOf("")), 1u);  // only dir.ref
  EXPECT_TRUE(std::filesystem::is_directory(folder.PathOf("dir.ref")));
}

TEST(CaptureFile, FailedWriteKeepsTheOldFile) {
  ScratchFolder folder;
  const std::vector<double> f = Frequencies(kN), m = Magnitudes(kN);
  const std::string path = folder.PathOf("a.ref");
  ASSERT_TRUE(WriteCaptureFile(path.c_str(), f.data(), m.data(), kN));
  const Bytes before = ReadAll(path);

  // Files may grow to 1000 bytes, less than the 2156 a capture needs: the
  // writes fail (EFBIG rather than a signal).
  struct sigaction ignore = {}, old = {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &old), 0);
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::vector<double> other(kN, 7.0);
  const bool wrote = WriteCaptureFile(path.c_str(), f.data(), other.data(), kN);
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &old, nullptr);

  EXPECT_FALSE(wrote);
  EXPECT_EQ(ReadAll(path), before);
  EXPECT_EQ(EntriesIn(folder.PathOf("")), 1u);
}

}  // namespace
