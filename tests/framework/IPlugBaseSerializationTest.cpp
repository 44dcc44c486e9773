#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "framework/IPlugBase.h"
#include "tests/framework/PresetDocument.h"
#include "tests/framework/TestParams.h"
#include "tests/framework/TestPlug.h"

namespace {

struct MixedPlug : TestPlug {
  explicit MixedPlug(bool xml, int nPresets = 1) : TestPlug(kTestParams, "1-1", 0, kAPIRTAS, nPresets) {
    DefineMixedParams(*this);
    if (xml) UseXML(*this);
  }
};

std::vector<int> AllIndices(int n) {
  std::vector<int> indices;
  for (int i = 0; i < n; ++i) indices.push_back(i);
  return indices;
}

// The XML payload of a hand-written document: the length word, then the text.
ChunkBuffer XMLPayload(const std::string& text) {
  ChunkBuffer chunk;
  chunk.Put(static_cast<int32_t>(text.size()));
  chunk.PutBytes(text.data(), static_cast<int>(text.size()));
  return chunk;
}

std::string PayloadText(const ChunkBuffer& chunk) {
  return std::string(reinterpret_cast<const char*>(chunk.GetData()) + 4, static_cast<size_t>(chunk.Size() - 4));
}

}  // namespace

class PayloadRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(PayloadRoundTrip, EveryParameterComesBackExactly) {
  MixedPlug source(GetParam()), target(GetParam());
  SetDistinctValues(source, 1);
  SetDistinctValues(target, 2);
  ASSERT_NE(ParamValues(source), ParamValues(target));

  // Behind a prefix, so positions are relative to the start given.
  ChunkBuffer chunk;
  chunk.Put(int32_t{77});
  ASSERT_TRUE(source.SerializeParams(&chunk));
  EXPECT_EQ(target.UnserializeParams(&chunk, 4, false), chunk.Size());
  EXPECT_EQ(ParamValues(target), ParamValues(source));  // the nameless parameter 133 included
  EXPECT_EQ(target.mChanged, AllIndices(kTestParams));
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXML, PayloadRoundTrip, ::testing::Bool());

TEST(BinaryPayload, IsOneLittleEndianDoublePerParameter) {
  TestPlug plug(3, "1-1");
  plug.GetParam(0)->InitDouble("A", 1.25, -10, 10, 0.01);
  plug.GetParam(1)->InitDouble("B", -2.5, -10, 10, 0.01);
  plug.GetParam(2)->InitDouble("C", 0.1, -10, 10, 0.01);
  ChunkBuffer chunk;
  ASSERT_TRUE(plug.SerializeParams(&chunk));
  ASSERT_EQ(chunk.Size(), 24);
  const double expected[] = {1.25, -2.5, 0.1};
  for (int i = 0; i < 3; ++i) {
    uint64_t bits = 0;
    std::memcpy(&bits, &expected[i], 8);
    for (int b = 0; b < 8; ++b) EXPECT_EQ(chunk.GetData()[8 * i + b], (bits >> (8 * b)) & 0xff) << i << ":" << b;
  }
}

TEST(BinaryPayload, ShortChunkSetsOnlyWhatItCoversAndFails) {
  TestPlug writer(3, "1-1"), reader(3, "1-1");
  for (TestPlug* plug : {&writer, &reader}) {
    for (int i = 0; i < 3; ++i) plug->GetParam(i)->InitDouble("P", 0.0, 1.0, 100.0, 0.01);
  }
  for (int i = 0; i < 3; ++i) {
    writer.GetParam(i)->Set(10.0 + i);
    reader.GetParam(i)->Set(50.0);
  }
  ChunkBuffer chunk;
  writer.SerializeParams(&chunk);
  chunk.Resize(20);  // parameter 2 has only four of its eight bytes
  EXPECT_EQ(reader.UnserializeParams(&chunk, 0, false), -1);
  EXPECT_EQ(ParamValues(reader), (std::vector<double>{10.0, 11.0, 50.0}));
  EXPECT_EQ(reader.mChanged, AllIndices(3));

  // Nothing read from a negative position, but every change still announced.
  reader.mChanged.clear();
  EXPECT_EQ(reader.UnserializeParams(&chunk, -1, false), -1);
  EXPECT_EQ(ParamValues(reader), (std::vector<double>{10.0, 11.0, 50.0}));
  EXPECT_EQ(reader.mChanged, AllIndices(3));
}

TEST(BinaryPayload, NaNIsNotStored) {
  TestPlug plug(2, "1-1");
  plug.GetParam(0)->InitDouble("A", 3.0, 0, 10, 0.01);
  plug.GetParam(1)->InitDouble("B", 3.0, 0, 10, 0.01);
  ChunkBuffer chunk;
  chunk.Put(std::numeric_limits<double>::quiet_NaN());
  chunk.Put(4.0);
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0, false), 16);
  EXPECT_EQ(ParamValues(plug), (std::vector<double>{3.0, 4.0}));
}

TEST(XMLPayload, TextFollowsTheDocumentedLayout) {
  TestPlug plug(2, "1-1", 0, IPlugBase::kAPIRTAS, 2);
  UseXML(plug);
  plug.GetParam(0)->InitDouble("Gain & <Level>", -3.5, -24, 24, 0.1);
  plug.GetParam(1)->InitDouble("", 1.0, 0, 1, 1);
  plug.SetPresetName(0, "First");
  plug.SetPresetName(1, "Second");
  ASSERT_TRUE(plug.RestorePreset(1));  // the name still comes from record 0
  ChunkBuffer chunk;
  ASSERT_TRUE(plug.SerializeParams(&chunk));
  int32_t length = 0;
  ASSERT_EQ(chunk.Get(&length, 0), 4);
  EXPECT_EQ(length, chunk.Size() - 4);
  EXPECT_EQ(PayloadText(chunk),
            "<?xml version=\"1.0\" ?>\n"
            "<PresetXMLTree version=\"1\">\n"
            "    <PluginVendor>Kestrelbay</PluginVendor>\n"
            "    <PluginName>Brimlow</PluginName>\n"
            "    <PluginVersion>3.2.3</PluginVersion>\n"
            "    <Preset name=\"First\">\n"
            "        <Parameter>\n"
            "            <Param name=\"Gain &amp; &lt;Level&gt;\" val=\"-3.500000\" />\n"
            "            <Param name=\"\" val=\"1.000000\" />\n"
            "        </Parameter>\n"
            "    </Preset>\n"
            "</PresetXMLTree>\n");
}

TEST(XMLPayload, HandWrittenDocumentLoadsAndCarriesItsPresetName) {
  MixedPlug plug(true, 2);
  SetDistinctValues(plug, 3);
  std::vector<double> expected = ParamValues(plug);
  expected[3] = 12.5;
  expected[7] = -7.25;
  const ChunkBuffer chunk = XMLPayload(PresetDocument().Text());
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0, false), chunk.Size());
  EXPECT_EQ(ParamValues(plug), expected);
  EXPECT_STREQ(plug.GetPresetName(0), "Loaded");
  EXPECT_STREQ(plug.GetPresetName(1), "empty 1");
}

class XMLPayloadRejection : public ::testing::TestWithParam<RejectedDocument> {};

TEST_P(XMLPayloadRejection, ChangesNothing) {
  MixedPlug plug(true, 1);
  SetDistinctValues(plug, 4);
  const std::vector<double> before = ParamValues(plug);
  PresetDocument doc;
  doc.*GetParam().part = GetParam().replacement;
  const ChunkBuffer chunk = XMLPayload(doc.Text());
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0, false), 0);
  EXPECT_EQ(ParamValues(plug), before);
  EXPECT_STREQ(plug.GetPresetName(0), "empty 0");
  EXPECT_TRUE(plug.mChanged.empty());
}

INSTANTIATE_TEST_SUITE_P(Documents, XMLPayloadRejection, ::testing::ValuesIn(kRejectedDocuments),
                         [](const ::testing::TestParamInfo<RejectedDocument>& info) {
                           std::string name;
                           for (const char* c = info.param.what; *c; ++c) name += std::isalnum(*c) ? *c : '_';
                           return name;
                         });

TEST(XMLPayload, BadLengthWordsAndPositionsAreRejectedWithinTheChunk) {
  const std::string text = PresetDocument().Text();
  const int32_t size = static_cast<int32_t>(text.size());
  struct Case { const char* what; int32_t length; int cutBytes; int startPos; };
  const Case cases[] = {
      {"length zero", 0, 0, 0},
      {"negative length", -5, 0, 0},
      {"one byte longer than the text", size + 1, 0, 0},
      {"largest length", INT32_MAX, 0, 0},
      {"text cut short", size, 10, 0},
      {"negative start", size, 0, -4},
      {"start past the end", size, 0, size + 100},
      {"start inside the length word", size, 0, 2},
  };
  for (const Case& c : cases) {
    MixedPlug plug(true, 1);
    SetDistinctValues(plug, 5);
    const std::vector<double> before = ParamValues(plug);
    ChunkBuffer chunk;
    chunk.Put(c.length);
    chunk.PutBytes(text.data(), size - c.cutBytes);
    EXPECT_EQ(plug.UnserializeParams(&chunk, c.startPos, false), 0) << c.what;
    EXPECT_EQ(ParamValues(plug), before) << c.what;
    EXPECT_STREQ(plug.GetPresetName(0), "empty 0") << c.what;
  }
  // A length that would wrap a 32-bit end position when added to the start.
  ChunkBuffer offset;
  offset.Put(int32_t{0});
  offset.Put(int32_t{INT32_MAX - 2});
  offset.PutBytes(text.data(), size);
  MixedPlug plug(true, 1);
  EXPECT_EQ(plug.UnserializeParams(&offset, 4, false), 0);
}

TEST(XMLPayload, ReaderIsLenientAboutOrderAndValues) {
  MixedPlug plug(true, 1);
  SetDistinctValues(plug, 6);
  std::vector<double> expected = ParamValues(plug);
  PresetDocument doc;
  doc.parameter =
      "<Parameter>"
      "<Param name=\"Param 11\" val=\"2.5dB\" />"     // trailing text ignored
      "<Param name=\"Param 7\" val=\"abc\" />"        // not a number: 0.0
      "<Param name=\"Param 15\" />"                   // no value: 0.0
      "<Param name=\"Param 19\" val=\"1e9\" />"       // clamped to the maximum
      "<Param name=\"Param 23\" val=\"nan\" />"       // NaN is not a number
      "<Param name=\"Unknown\" val=\"3\" />"          // ignored
      "<Param name=\"Param 3\" val=\"1\" />"
      "<Param name=\"Param 3\" val=\"4.5\" />"        // the later one wins
      "<Param val=\"1\" />"                           // nameless, but parameter 8 has a name
      "</Parameter>";
  expected[11] = 2.5;
  expected[7] = 0.0;
  expected[15] = 0.0;
  expected[19] = 20000.0;
  expected[23] = 0.0;
  expected[3] = 4.5;
  const ChunkBuffer chunk = XMLPayload(doc.Text());
  EXPECT_GT(plug.UnserializeParams(&chunk, 0, false), 0);
  EXPECT_EQ(ParamValues(plug), expected);
}

TEST(XMLPayload, NamelessParameterIsRestoredByPosition) {
  MixedPlug source(true), target(true);
  ASSERT_EQ(source.GetParam(kNamelessParam)->GetNameForHost()[0], 0);
  for (double value : {1.0, 0.0}) {
    source.GetParam(kNamelessParam)->Set(value);
    target.GetParam(kNamelessParam)->Set(1.0 - value);
    ChunkBuffer chunk;
    ASSERT_TRUE(source.SerializeParams(&chunk));
    EXPECT_NE(PayloadText(chunk).find("<Param name=\"\" val="), std::string::npos);  // stored form unchanged
    EXPECT_GT(target.UnserializeParams(&chunk, 0, false), 0);
    EXPECT_EQ(target.GetParam(kNamelessParam)->Value(), value);
  }
}

class FlaggedOnly : public ::testing::TestWithParam<bool> {};

TEST_P(FlaggedOnly, LeavesUnflaggedParametersAlone) {
  MixedPlug source(GetParam()), target(GetParam());
  SetDistinctValues(source, 7);
  SetDistinctValues(target, 8);
  const std::vector<double> before = ParamValues(target);
  ChunkBuffer chunk;
  ASSERT_TRUE(source.SerializeParams(&chunk));
  EXPECT_GT(target.UnserializeParams(&chunk, 0, true), 0);
  for (int i = 0; i < kTestParams; ++i) {
    const double expected = target.GetParam(i)->IsFlagged() ? source.GetParam(i)->Value() : before[i];
    EXPECT_EQ(target.GetParam(i)->Value(), expected) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXML, FlaggedOnly, ::testing::Bool());

TEST(Payloads, DeniedAccessWritesNothingAndLoadsNothing) {
  for (bool xml : {false, true}) {
    MixedPlug plug(xml);
    ChunkBuffer chunk;
    plug.mDeniedAccess[xml ? IPlugBase::kXMLSave : IPlugBase::kBinarySave] = true;
    EXPECT_TRUE(plug.SerializeParams(&chunk));
    EXPECT_EQ(chunk.Size(), 0);
    plug.mDeniedAccess[xml ? IPlugBase::kXMLSave : IPlugBase::kBinarySave] = false;

    SetDistinctValues(plug, 9);
    ASSERT_TRUE(plug.SerializeParams(&chunk));
    SetDistinctValues(plug, 10);
    const std::vector<double> before = ParamValues(plug);
    plug.mDeniedAccess[xml ? IPlugBase::kXMLLoad : IPlugBase::kBinaryLoad] = true;
    EXPECT_EQ(plug.UnserializeParams(&chunk, 0, false), chunk.Size());
    EXPECT_EQ(ParamValues(plug), before);
    EXPECT_EQ(plug.mChanged, AllIndices(kTestParams));
  }
}

TEST(XMLPayload, PresetNameFromAPayloadIsCutToItsField) {
  MixedPlug plug(true, 1);
  PresetDocument doc;
  doc.presetTag = "<Preset name=\"" + std::string(400, 'n') + "\">";
  const ChunkBuffer chunk = XMLPayload(doc.Text());
  EXPECT_GT(plug.UnserializeParams(&chunk, 0, false), 0);
  EXPECT_EQ(std::string(plug.GetPresetName(0)), std::string(255, 'n'));
}

TEST(XMLPayload, PresetNameInALegacyCodePageKeepsTheStateReadable) {
  // Found by fuzzing: a Latin-1 name ending in an accented letter made the
  // whole saved state unreadable.
  MixedPlug source(true, 1), target(true, 1);
  SetDistinctValues(source, 1);
  source.SetPresetName(0, "Caf\xE9");
  ChunkBuffer chunk;
  ASSERT_TRUE(source.SerializeParams(&chunk));
  EXPECT_EQ(target.UnserializeParams(&chunk, 0, false), chunk.Size());
  EXPECT_EQ(ParamValues(target), ParamValues(source));
  EXPECT_STREQ(target.GetPresetName(0), "Caf\xE9");
}

TEST(Payloads, MutexIsHeldAcrossTheNestedSlotsAndEveryChange) {
  // Another thread must find the plug mutex taken at each of these points.
  struct LockProbe : MixedPlug {
    using MixedPlug::MixedPlug;
    bool OtherThreadGetsLock() {
      bool got = false;
      std::thread([&] {
        got = GetMutex()->TryEnter();
        if (got) GetMutex()->Leave();
      }).join();
      return got;
    }
    void OnParamChange(int idx) override {
      if (idx == 0 || idx == kTestParams - 1) mFree.push_back(OtherThreadGetsLock());
      MixedPlug::OnParamChange(idx);
    }
    bool SerializeParams2XMLString(ChunkBuffer* chunk) override {
      mFree.push_back(OtherThreadGetsLock());
      return MixedPlug::SerializeParams2XMLString(chunk);
    }
    std::vector<bool> mFree;
  };
  for (bool xml : {false, true}) {
    LockProbe plug(xml);
    ChunkBuffer chunk;
    ASSERT_TRUE(plug.SerializeParams(&chunk));
    ASSERT_GT(plug.UnserializeParams(&chunk, 0, false), 0);
    EXPECT_EQ(plug.mFree, std::vector<bool>(xml ? 3 : 2, false));
    EXPECT_TRUE(plug.OtherThreadGetsLock());
  }
}

TEST(CompareState, SinglePrecisionWithinATolerance) {
  TestPlug plug(2, "1-1");
  plug.GetParam(0)->InitDouble("A", 0.1, 0, 1, 0.0001);
  plug.GetParam(1)->InitDouble("B", 0.5, 0, 1, 0.0001);
  const double close[] = {99.0, 0.1 + 1e-7, 0.5};
  const double apart[] = {99.0, 0.1 + 1e-4, 0.5};
  EXPECT_TRUE(plug.CompareState(close, 1));
  EXPECT_FALSE(plug.CompareState(apart, 1));
  EXPECT_FALSE(plug.CompareState(close, 0));

  TestPlug none(0, "1-1");
  EXPECT_TRUE(none.CompareState(nullptr, 0));
  UseXML(plug);
  EXPECT_FALSE(plug.CompareState(close, 1));
}
