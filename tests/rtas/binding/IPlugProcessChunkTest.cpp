// The instance's one state chunk 'KB30' as the host saves, restores and
// compares it through the bundle's exports.
#include <memory>
#include <string>
#include <vector>

#include "framework/containers/ChunkBuffer.h"
#include "plugin/controller/Brimlow.h"
#include "rtas/library/HostRecords.h"
#include "tests/rtas/binding/BundleHost.h"

namespace {

constexpr uint8_t kHostByte = 0x5A;
constexpr size_t kGuardBytes = 64;

class ChunkExports : public BundleHost {
 protected:
  void SetUp() override {
    StartHost();
    n = host->CreateInstance(kEFN1);
  }

  int32_t Size(uint32_t type, int32_t instance) {
    int32_t size = 0;
    EXPECT_EQ((host->Call<uint32_t, int32_t, uint32_t, int32_t*>(65, type, instance, kKB30, &size)), 0);
    return size;
  }

  // The chunk as the host stores it: a buffer of the reported size filled
  // with the host's own bytes, with a guard after it.
  std::vector<uint8_t> Save(uint32_t type, int32_t instance) {
    const int32_t size = Size(type, instance);
    std::vector<uint8_t> buffer(static_cast<size_t>(size) + kGuardBytes, kHostByte);
    EXPECT_EQ((host->Call<uint32_t, int32_t, uint32_t, SFicPlugInChunk*>(
                  66, type, instance, kKB30, reinterpret_cast<SFicPlugInChunk*>(buffer.data()))),
              0);
    for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kHostByte) << i;
    buffer.resize(static_cast<size_t>(size));
    return buffer;
  }

  int32_t Restore(uint32_t type, int32_t instance, std::vector<uint8_t> chunk) {
    return host->Call<uint32_t, int32_t, uint32_t, SFicPlugInChunk*>(
        67, type, instance, kKB30, reinterpret_cast<SFicPlugInChunk*>(chunk.data()));
  }

  int32_t Compare(uint32_t type, int32_t instance, std::vector<uint8_t> chunk, uint8_t* equal) {
    return host->Call<uint32_t, int32_t, SFicPlugInChunk*, uint8_t*>(
        128, type, instance, reinterpret_cast<SFicPlugInChunk*>(chunk.data()), equal);
  }

  void Set(uint32_t type, int32_t instance, const std::string& name, const std::string& text) {
    const int32_t control = host->FindControl(type, instance, name);
    ASSERT_GT(control, 0) << name;
    int32_t value = 0;
    ASSERT_EQ(host->TextToValue(type, instance, control, text, &value), 0) << name;
    ASSERT_EQ(host->SetControlValue(type, instance, control, value), 0) << name;
  }

  std::vector<int32_t> ControlValues(uint32_t type, int32_t instance) {
    std::vector<int32_t> values;
    for (int32_t c = 1; c <= host->ControlCount(type, instance); ++c) values.push_back(host->ControlValue(type, instance, c));
    return values;
  }

  int32_t n = 0;
};

}  // namespace

TEST_F(ChunkExports, OneChunkNamedKB30) {
  int32_t count = 0;
  host->Call<uint32_t, int32_t, int32_t*>(62, kEFN1, n, &count);
  EXPECT_EQ(count, 1);
  struct Row {
    int32_t index, result;
  };
  for (const Row& row : {Row{1, 0}, Row{0, -7157}, Row{2, -7157}}) {
    uint32_t id = 0;
    EXPECT_EQ((host->Call<uint32_t, int32_t, int32_t, uint32_t*>(63, kEFN1, n, row.index, &id)), row.result);
    if (row.result == 0) {
      EXPECT_EQ(id, kKB30);
    }
  }
  int32_t size = 0;
  EXPECT_EQ((host->Call<uint32_t, int32_t, uint32_t, int32_t*>(65, kEFN1, n, FourCC("elck"), &size)), -7157);
}

TEST_F(ChunkExports, TheHeaderAndTheState) {
  // A fresh plug-in's own state, serialised beside the bundle's.
  std::unique_ptr<Brimlow> fresh(MakePlug());
  ChunkBuffer state;
  ASSERT_TRUE(fresh->SerializeState(&state));

  const std::vector<uint8_t> chunk = Save(kEFN1, n);
  ASSERT_EQ(chunk.size(), static_cast<size_t>(state.Size()) + 56);
  EXPECT_EQ(ChunkWord(chunk, 0), chunk.size());
  EXPECT_EQ(ChunkWord(chunk, 4), 3u);
  EXPECT_EQ(ChunkWord(chunk, 8), kKBYX);
  EXPECT_EQ(ChunkWord(chunk, 12), kKB30);
  EXPECT_EQ(ChunkWord(chunk, 16), kEFN1);
  EXPECT_EQ(ChunkWord(chunk, 20), kKB30);
  EXPECT_EQ(ChunkWord(chunk, 24), 0u);
  for (size_t i = 28; i < 56; ++i) EXPECT_EQ(chunk[i], kHostByte) << i;
  EXPECT_EQ(std::vector<uint8_t>(chunk.begin() + 56, chunk.end()),
            std::vector<uint8_t>(state.GetData(), state.GetData() + state.Size()));
}

TEST_F(ChunkExports, TheCopyNeverOutgrowsTheSizeReported) {
  const int32_t size = Size(kEFN1, n);
  // The state grows between the size and the copy: a frequency with more
  // digits.
  Set(kEFN1, n, "Freq 1", "20000");
  std::vector<uint8_t> buffer(static_cast<size_t>(size) + kGuardBytes, kHostByte);
  EXPECT_EQ((host->Call<uint32_t, int32_t, uint32_t, SFicPlugInChunk*>(
                66, kEFN1, n, kKB30, reinterpret_cast<SFicPlugInChunk*>(buffer.data()))),
            -7157);
  // Neither the size word nor the state was written.
  EXPECT_EQ(ChunkWord(buffer, 0), 0x5A5A5A5Au);
  for (size_t i = 56; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], kHostByte) << i;
  EXPECT_GT(Size(kEFN1, n), size);
}

TEST_F(ChunkExports, EveryCopyIsTheStateAtThatMoment) {
  // The host keeps the buffer of the first size it asked and copies into
  // it again without asking: the copy holds the state of its own moment,
  // or is refused when that state no longer fits ("-12.000000" is longer
  // than "6.000000").
  struct Case {
    const char* first;
    const char* then;
    bool fits;
  };
  const int32_t other = host->CreateInstance(kEFN1);
  for (const Case& c : {Case{"6", "-12", false}, Case{"-12", "6", true}, Case{"-12", "-7", true}}) {
    SCOPED_TRACE(std::string(c.first) + " then " + c.then);
    Set(kEFN1, n, "Gain 3", c.first);
    const int32_t size = Size(kEFN1, n);
    std::vector<uint8_t> buffer(static_cast<size_t>(size) + kGuardBytes, kHostByte);
    auto copy = [&] {
      return host->Call<uint32_t, int32_t, uint32_t, SFicPlugInChunk*>(
          66, kEFN1, n, kKB30, reinterpret_cast<SFicPlugInChunk*>(buffer.data()));
    };
    ASSERT_EQ(copy(), 0);
    const std::vector<uint8_t> before(buffer.begin(), buffer.begin() + size);
    Set(kEFN1, n, "Gain 3", c.then);
    const int32_t result = copy();
    for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], kHostByte) << i;
    if (!c.fits) {
      EXPECT_EQ(result, -7157);
      continue;
    }
    ASSERT_EQ(result, 0);
    const std::vector<uint8_t> chunk(buffer.begin(), buffer.begin() + ChunkWord(buffer, 0));
    uint8_t equal = 7;
    ASSERT_EQ(Compare(kEFN1, n, chunk, &equal), 0);
    EXPECT_EQ(equal, 1);
    ASSERT_EQ(Compare(kEFN1, n, before, &equal), 0);
    EXPECT_EQ(equal, 0);
    // Restored elsewhere, the copy gives the gain set last.
    ASSERT_EQ(Restore(kEFN1, other, chunk), 0);
    const int32_t gain = host->FindControl(kEFN1, other, "Gain 3");
    int32_t expected = 0;
    ASSERT_EQ(host->TextToValue(kEFN1, other, gain, c.then, &expected), 0);
    EXPECT_EQ(host->ControlValue(kEFN1, other, gain), expected);
  }
}

TEST_F(ChunkExports, ARestoredChunkBringsBackEveryValue) {
  const int32_t stereo = host->CreateInstance(kEFN2);
  Set(kEFN2, stereo, "Type 3", "D - Peak");
  Set(kEFN2, stereo, "Freq 3", "1234.5");
  Set(kEFN2, stereo, "OS Mode", "2x");
  const std::vector<uint8_t> saved = Save(kEFN2, stereo);

  // Into a mono instance: the type word differs and is not checked.
  const std::vector<int32_t> defaults = ControlValues(kEFN1, n);
  uint8_t equal = 7;
  ASSERT_EQ(Compare(kEFN1, n, saved, &equal), 0);
  EXPECT_EQ(equal, 0);
  const int32_t before = ChangeCount(kEFN1, n);
  ASSERT_EQ(Restore(kEFN1, n, saved), 0);
  EXPECT_GT(ChangeCount(kEFN1, n), before);
  EXPECT_NE(ControlValues(kEFN1, n), defaults);
  EXPECT_EQ(ControlValues(kEFN1, n), ControlValues(kEFN2, stereo));
  ASSERT_EQ(Compare(kEFN1, n, saved, &equal), 0);
  EXPECT_EQ(equal, 1);
  // Saved again, the state is the same bytes: the restore lost nothing.
  const std::vector<uint8_t> again = Save(kEFN1, n);
  EXPECT_EQ(std::vector<uint8_t>(again.begin() + 56, again.end()),
            std::vector<uint8_t>(saved.begin() + 56, saved.end()));
}

TEST_F(ChunkExports, ForeignOrBrokenHeadersChangeNothing) {
  const int32_t stereo = host->CreateInstance(kEFN2);
  Set(kEFN2, stereo, "Phase", "Invert");
  const std::vector<uint8_t> good = Save(kEFN2, stereo);
  struct Case {
    const char* what;
    size_t offset;
    uint32_t word;
  };
  const Case cases[] = {
      {"another manufacturer", 8, FourCC("XXXX")},
      {"another plug-in", 12, FourCC("KB31")},
      {"a size below the header", 0, 55},
      {"a negative size", 0, 0x80000000u},
  };
  const std::vector<int32_t> values = ControlValues(kEFN1, n);
  const int32_t count = ChangeCount(kEFN1, n);
  for (const Case& c : cases) {
    std::vector<uint8_t> chunk = good;
    SetChunkWord(&chunk, c.offset, c.word);
    EXPECT_EQ(Restore(kEFN1, n, chunk), -7157) << c.what;
    uint8_t equal = 7;
    const int32_t compared = Compare(kEFN1, n, chunk, &equal);
    if (c.offset == 0) {
      EXPECT_EQ(compared, 0) << c.what;
      EXPECT_EQ(equal, 0) << c.what;
    } else {
      EXPECT_EQ(compared, -7157) << c.what;
    }
    EXPECT_EQ(ControlValues(kEFN1, n), values) << c.what;
    EXPECT_EQ(ChangeCount(kEFN1, n), count) << c.what;
  }
  // Compare asks for the chunk it was given by its id word.
  std::vector<uint8_t> otherID = good;
  SetChunkWord(&otherID, 20, FourCC("elck"));
  uint8_t equal = 7;
  EXPECT_EQ(Compare(kEFN1, n, otherID, &equal), -7157);
}

TEST_F(ChunkExports, AStateTheReaderRefusesIsReportedAndChangesNothing) {
  Set(kEFN1, n, "Phase", "Invert");
  const std::vector<int32_t> values = ControlValues(kEFN1, n);
  std::vector<uint8_t> chunk = Save(kEFN1, n);
  // The same header over a state that is no state.
  for (size_t i = 56; i < chunk.size(); ++i) chunk[i] = static_cast<uint8_t>(i * 7);
  EXPECT_EQ(Restore(kEFN1, n, chunk), -7157);
  EXPECT_EQ(ControlValues(kEFN1, n), values);
}
