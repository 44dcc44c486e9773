#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/controller/FactoryPresets.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/TempDataHome.h"

namespace {

constexpr uint32_t kMagic = 0xF0E1D2C3u;
constexpr uint32_t kParamsTag = 0xF0E1D2C4u;
constexpr uint32_t kCaptureTag = 0xF0E1D2C5u;

uint32_t U32At(const ChunkBuffer& c, int pos) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(c.GetData()[pos + i]) << (8 * i);
  return v;
}

std::vector<double> Values(const Brimlow& plug) {
  std::vector<double> v;
  for (int i = 0; i < plug.NParams(); ++i) v.push_back(plug.GetParam(i)->Value());
  return v;
}

IParam* Named(const Brimlow& plug, const std::string& name) {
  for (int i = 0; i < plug.NParams(); ++i) {
    if (name == plug.GetParam(i)->GetNameForHost()) return plug.GetParam(i);
  }
  ADD_FAILURE() << "no parameter " << name;
  return nullptr;
}

// The value of an enumerated parameter's display text, looked up through
// the parameter itself.
double TextValue(const Brimlow& plug, const std::string& name, const char* text) {
  int value = -1;
  const IParam* param = Named(plug, name);
  if (!param || !param->MapDisplayText(text, &value)) ADD_FAILURE() << name << " has no text " << text;
  return value;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

// A preset document as the file format lays it out, with the given
// vendor and product and the given "Param" lines.
std::string PresetFile(const std::string& params, const std::string& vendor = "Kestrelbay",
                       const std::string& product = "Brimlow", const std::string& data = "") {
  std::ostringstream s;
  s << "<?xml version=\"1.0\" ?>\n<PresetXMLTree version=\"1\">\n"
    << "    <PluginVendor>" << vendor << "</PluginVendor>\n"
    << "    <PluginName>" << product << "</PluginName>\n"
    << "    <PluginVersion>3.2.3</PluginVersion>\n";
  if (!data.empty()) s << "    <Data>" << data << "</Data>\n";
  s << "    <Preset name=\"From File\">\n        <Parameter>\n" << params
    << "        </Parameter>\n    </Preset>\n</PresetXMLTree>\n";
  return s.str();
}

class BrimlowPresets : public TempDataHomeTest {
 protected:
  std::string HostFolder() const { return mDataHome + "/Brimlow/RTAS/"; }
};

const char* const kPresetNames[] = {"Init",
                                    "Master:Side:Cut Low,Lift High",
                                    "Master:Brickwall 20k",
                                    "Master:Telephone",
                                    "Master:AM Radio",
                                    "Master:Karaoke",
                                    "Master:Vinyl",
                                    "Track:Hum 50Hz",
                                    "Track:Hum 60Hz",
                                    "Track:Kick",
                                    "Track:A-Weighting",
                                    "Track:Stereo Panning",
                                    "Track:IDM Blocker SR@96kHz",
                                    "Track:Vocal",
                                    "Track:Drums",
                                    "Track:Stereo Enhancer"};

TEST_F(BrimlowPresets, ListHoldsInitAndTheFifteenFactoryPresetsInStateForm) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  EXPECT_STREQ(plug->PresetLabel(), "Init");
  EXPECT_EQ(plug->NFactoryPresets(), 15);
  ASSERT_EQ(plug->NPresets(), 16);
  for (int i = 0; i < 16; ++i) {
    const IPreset* preset = plug->GetPreset(i);
    EXPECT_STREQ(preset->mName, kPresetNames[i]);
    EXPECT_TRUE(preset->mInitialized) << i;
    // The state chunk without its third section; the capture is empty.
    const ChunkBuffer& c = preset->mChunk;
    ASSERT_GT(c.Size(), 24) << i;
    EXPECT_EQ(U32At(c, 0), kMagic);
    EXPECT_EQ(U32At(c, 4), 4u);
    EXPECT_EQ(U32At(c, 8), kParamsTag);
    EXPECT_EQ(U32At(c, 12), static_cast<uint32_t>(c.Size() - 24)) << i;
    EXPECT_EQ(U32At(c, c.Size() - 8), kCaptureTag);
    EXPECT_EQ(U32At(c, c.Size() - 4), 0u);
  }
}

TEST_F(BrimlowPresets, InitHoldsTheDefaults) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  ASSERT_TRUE(plug->RestorePreset(5));
  for (int i = 0; i < plug->NParams(); ++i) plug->GetParam(i)->Set(plug->GetParam(i)->GetMax());
  ASSERT_TRUE(plug->RestorePreset(0));
  EXPECT_EQ(plug->GetCurrentPresetIdx(), 0);
  for (int i = 0; i < plug->NParams(); ++i) {
    EXPECT_EQ(plug->GetParam(i)->Value(), plug->GetParam(i)->GetDefault()) << i;
  }
}

TEST_F(BrimlowPresets, FactoryDefaultRecordHoldsEveryDefault) {
  // Even with a user default in force at construction.
  std::filesystem::create_directories(HostFolder());
  WriteFile(mDataHome + "/Brimlow/RTAS/default.tps",
            PresetFile("            <Param name=\"Gain 3\" val=\"9.000000\" />\n"
                       "            <Param name=\"Solo 3\" val=\"1.000000\" />\n"
                       "            <Param name=\"FScale\" val=\"20.000000\" />\n"));
  std::unique_ptr<Brimlow> plug(MakePlug());
  ASSERT_EQ(Named(*plug, "Gain 3")->Value(), 9.0);
  const IPreset& record = plug->DefaultPreset();
  EXPECT_TRUE(record.mInitialized);
  EXPECT_STREQ(record.mName, "Factory Default");
  EXPECT_EQ(plug->UnserializeStateAll(&record.mChunk, 0), record.mChunk.Size());
  for (int i = 0; i < plug->NParams(); ++i) {
    EXPECT_EQ(plug->GetParam(i)->Value(), plug->GetParam(i)->GetDefault()) << i;
  }
}

// ---- Factory preset contents -------------------------------------------------

// One band of one preset, in the display texts and units a user reads.
struct BandCase {
  int preset;
  int band;  // 1 to 12, as the parameter names count
  const char* type;
  const char* chMode;
  const char* slope;
  double gainDb;
  double freqHz;
  double q;
  const char* active;
};

void PrintTo(const BandCase& c, std::ostream* os) { *os << "preset " << c.preset << " band " << c.band; }

class FactoryPresetBands : public BrimlowPresets, public ::testing::WithParamInterface<BandCase> {};

TEST_P(FactoryPresetBands, RestoreSetsTheBand) {
  const BandCase& c = GetParam();
  std::unique_ptr<Brimlow> plug(MakePlug());
  ASSERT_TRUE(plug->RestorePreset(c.preset));
  const std::string n = std::to_string(c.band);
  EXPECT_EQ(Named(*plug, "Type " + n)->Value(), TextValue(*plug, "Type " + n, c.type));
  EXPECT_EQ(Named(*plug, "ChMode " + n)->Value(), TextValue(*plug, "ChMode " + n, c.chMode));
  EXPECT_EQ(Named(*plug, "Slope " + n)->Value(), TextValue(*plug, "Slope " + n, c.slope));
  EXPECT_NEAR(Named(*plug, "Gain " + n)->Value(), c.gainDb, 1e-9);
  EXPECT_NEAR(Named(*plug, "Freq " + n)->Value(), c.freqHz, 1e-9);
  EXPECT_NEAR(Named(*plug, "Q " + n)->Value(), c.q, 1e-9);
  EXPECT_EQ(Named(*plug, "Active " + n)->Value(), TextValue(*plug, "Active " + n, c.active));
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, FactoryPresetBands,
    ::testing::Values(
        // "Master:Telephone", every band.
        BandCase{3, 1, "A - Peak", "All", " 6 dB", -18.0, 300.0, 10.0, "on"},
        BandCase{3, 2, "A - Low Cut", "All", "24 dB", 0.0, 400.0, 0.7, "on"},
        BandCase{3, 3, "A - Peak", "All", " 6 dB", 3.6, 400.0, 2.0, "on"},
        BandCase{3, 4, "A - Peak", "All", " 6 dB", 8.6, 300.0, 2.5, "on"},
        BandCase{3, 5, "A - Peak", "All", " 6 dB", -18.0, 4400.0, 10.0, "on"},
        BandCase{3, 6, "A - High Cut", "All", "24 dB", 0.0, 3400.0, 0.7, "on"},
        BandCase{3, 7, "A - Peak", "All", " 6 dB", 3.6, 3400.0, 2.0, "on"},
        BandCase{3, 8, "A - Peak", "All", " 6 dB", 8.6, 4400.0, 2.5, "on"},
        BandCase{3, 9, "A - Peak", "All", " 6 dB", 0.0, 22000.0, 1.0, "off"},
        BandCase{3, 10, "A - Peak", "All", " 6 dB", 0.0, 22000.0, 0.7, "off"},
        BandCase{3, 11, "A - Peak", "All", " 6 dB", 0.0, 22000.0, 0.7, "off"},
        BandCase{3, 12, "A - Peak", "All", " 6 dB", 0.0, 22000.0, 0.7, "off"},
        // "Track:IDM Blocker SR@96kHz".
        BandCase{12, 5, "D - High Cut", "All", "96 dB", 0.0, 21000.0, 0.7, "on"},
        BandCase{12, 4, "A - Peak", "All", " 6 dB", 0.0, 10.0, 0.7, "off"},
        BandCase{12, 6, "A - Peak", "All", " 6 dB", 0.0, 48000.0, 0.7, "off"},
        // One or two bands of the others.
        BandCase{1, 1, "A - Low Cut", "Side", "12 dB", 0.0, 100.0, 0.7, "on"},
        BandCase{1, 7, "A - High Shelf", "Side", " 6 dB", 3.0, 1000.0, 1.0, "on"},
        BandCase{2, 12, "A - High Cut", "All", "96 dB", 0.0, 20000.0, 0.7, "on"},
        BandCase{2, 11, "A - Peak", "All", " 6 dB", 0.0, 20000.0, 0.7, "off"},
        BandCase{4, 8, "A - Peak", "All", " 6 dB", 10.0, 4850.0, 2.5, "on"},
        BandCase{5, 10, "A - Peak", "All", " 6 dB", 11.9, 11609.7, 0.25, "on"},
        BandCase{5, 7, "A - Low Shelf", "All", " 6 dB", -12.0, 2500.0, 3.0, "on"},
        BandCase{6, 2, "D - High Shelf", "All", " 6 dB", -15.0, 22000.0, 1.0, "off"},
        BandCase{6, 3, "A - High Shelf", "All", " 6 dB", -15.4, 15000.0, 0.55, "on"},
        BandCase{7, 5, "A - Notch", "All", "48 dB", 0.0, 200.0, 10.0, "on"},
        BandCase{8, 3, "A - Notch", "All", "48 dB", 0.0, 120.0, 10.0, "on"},
        BandCase{9, 3, "A - Notch", "All", "12 dB", -30.0, 230.0, 1.0, "on"},
        BandCase{9, 1, "A - Low Cut", "All", "24 dB", 0.0, 15.1, 0.7, "on"},
        BandCase{10, 3, "A - High Cut", "All", "12 dB", -1.9, 11798.0, 0.4, "on"},
        BandCase{11, 10, "A - Peak", "Right", " 6 dB", 12.0, 3840.0, 3.0, "on"},
        BandCase{11, 11, "A - Peak", "Left", " 6 dB", 12.0, 5760.0, 3.0, "on"},
        BandCase{11, 12, "A - Peak", "All", " 6 dB", -8.0, 720.0, 0.06, "on"},
        BandCase{13, 10, "A - High Shelf", "All", " 6 dB", 2.5, 8000.0, 0.41, "on"},
        BandCase{14, 11, "A - High Cut", "All", " 6 dB", 0.0, 18082.5, 0.7, "on"},
        BandCase{14, 12, "A - Peak", "All", " 6 dB", 0.0, 30000.0, 0.7, "off"},
        BandCase{15, 3, "A - Peak", "Right", " 6 dB", 1.5, 70.0, 0.7, "on"},
        BandCase{15, 10, "A - Peak", "Left", " 6 dB", 1.7, 10000.0, 0.7, "on"}));

TEST_F(BrimlowPresets, FactoryPresetsSetTheModes) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  for (int i = 1; i <= 15; ++i) {
    ASSERT_TRUE(plug->RestorePreset(i));
    const char* mode = i == 12 ? "LinearPhase Eco" : "Zero Latency";
    EXPECT_EQ(Named(*plug, "Filter Mode")->Value(), TextValue(*plug, "Filter Mode", mode)) << kPresetNames[i];
    EXPECT_EQ(Named(*plug, "OS Mode")->Value(), TextValue(*plug, "OS Mode", "Off")) << kPresetNames[i];
  }
}

TEST(FactoryPresetTable, EveryPresetNamesEveryBandField) {
  // A band left out of an initialiser would silently read as zeros.
  for (const FactoryPreset& preset : kFactoryPresets) {
    EXPECT_EQ(FactoryPresetValues(preset).size(), 86u) << preset.name;
    for (int b = 0; b < kNumBands; ++b) {
      EXPECT_GE(preset.bands[b].freqHz, 10.0) << preset.name << " band " << b + 1;
      EXPECT_GE(preset.bands[b].q, 0.01) << preset.name << " band " << b + 1;
    }
  }
}

TEST_F(BrimlowPresets, FactoryPresetsLeaveSoloAndTheDisplayAlone) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  const std::vector<double> built = Values(*plug);
  // Every parameter a preset does not carry, away from its default.
  for (int i = 0; i < plug->NParams(); ++i) {
    IParam* p = plug->GetParam(i);
    if (!p->IsFlagged()) p->Set(p->GetDefault() == p->GetMax() ? p->GetMin() : p->GetMax());
  }
  const std::vector<double> changed = Values(*plug);
  for (int k = 1; k <= 15; ++k) {
    ASSERT_TRUE(plug->RestorePreset(k, true));
    for (int i = 0; i < plug->NParams(); ++i) {
      if (!plug->GetParam(i)->IsFlagged()) {
        ASSERT_EQ(plug->GetParam(i)->Value(), changed[i]) << k << " " << i;
      }
    }
  }
  // A full restore gives them the values in force when the presets were made.
  ASSERT_TRUE(plug->RestorePreset(7, false));
  for (int i = 0; i < plug->NParams(); ++i) {
    if (!plug->GetParam(i)->IsFlagged()) {
      EXPECT_EQ(plug->GetParam(i)->Value(), built[i]) << i;
    }
  }
}

// ---- Preset files into records --------------------------------------------------

TEST_F(BrimlowPresets, PresetFileFillsARecordFromTheDefaults) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  // Current values away from the defaults: the record must not take them.
  for (int i = 0; i < plug->NParams(); ++i) plug->GetParam(i)->Set(plug->GetParam(i)->GetMax());
  const std::string folder = mDataHome + "/";
  WriteFile(folder + "good.tps", PresetFile("            <Param name=\"Gain 1\" val=\"5.000000\" />\n"
                                            "            <Param name=\"No Such Param\" val=\"3.000000\" />\n"
                                            "            <Param name=\"Gain 1\" val=\"7.500000\" />\n"
                                            "            <Param name=\"AB\" val=\"0.000000\" />\n"));
  IPreset* record = plug->GetPreset(4);
  ASSERT_TRUE(plug->LoadPresetFromXML(WDL_String("Kestrelbay"), WDL_String("Brimlow"), WDL_String("3.2.3"), record,
                                      WDL_String(folder.c_str()), WDL_String("good"), WDL_String(".tps"), false));
  EXPECT_STREQ(record->mName, "From File");
  EXPECT_EQ(U32At(record->mChunk, 0), kMagic);
  EXPECT_EQ(U32At(record->mChunk, record->mChunk.Size() - 8), kCaptureTag);

  ASSERT_TRUE(plug->RestorePreset(4));
  for (int i = 0; i < plug->NParams(); ++i) {
    const IParam* p = plug->GetParam(i);
    const std::string name = p->GetNameForHost();
    // The later of two elements for one parameter wins.
    const double expected = name == "Gain 1" ? 7.5 : name == "AB" ? 0.0 : p->GetDefault();
    EXPECT_EQ(p->Value(), expected) << i << " " << name;
  }

  // Flagged only: "AB" is no preset parameter and keeps its default.
  ASSERT_TRUE(plug->LoadPresetFromXML(WDL_String("Kestrelbay"), WDL_String("Brimlow"), WDL_String("3.2.3"), record,
                                      WDL_String(folder.c_str()), WDL_String("good"), WDL_String(".tps"), true));
  plug->GetParam(kParamAB)->Set(0.0);
  ASSERT_TRUE(plug->RestorePreset(4));
  EXPECT_EQ(plug->GetParam(kParamAB)->Value(), 1.0);
  EXPECT_EQ(Named(*plug, "Gain 1")->Value(), 7.5);
}

struct BadFileCase {
  const char* name;
  std::string text;
};

void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

class RefusedPresetFile : public BrimlowPresets, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(RefusedPresetFile, LeavesTheRecordAsItWas) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  const std::string folder = mDataHome + "/";
  WriteFile(folder + "bad.tps", GetParam().text);
  IPreset* record = plug->GetPreset(9);
  const std::vector<uint8_t> before(record->mChunk.GetData(), record->mChunk.GetData() + record->mChunk.Size());
  EXPECT_FALSE(plug->LoadPresetFromXML(WDL_String("Kestrelbay"), WDL_String("Brimlow"), WDL_String("3.2.3"), record,
                                       WDL_String(folder.c_str()), WDL_String("bad"), WDL_String(".tps"), false));
  EXPECT_TRUE(record->mInitialized);
  EXPECT_STREQ(record->mName, "Track:Kick");
  EXPECT_EQ(std::vector<uint8_t>(record->mChunk.GetData(), record->mChunk.GetData() + record->mChunk.Size()), before);
}

const std::string kOneParam = "            <Param name=\"Gain 1\" val=\"5.000000\" />\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedPresetFile,
    ::testing::Values(BadFileCase{"OtherVendor", PresetFile(kOneParam, "Someone Else")},
                      BadFileCase{"OtherProduct", PresetFile(kOneParam, "Kestrelbay", "brimlow")},
                      BadFileCase{"Truncated", PresetFile(kOneParam).substr(0, 200)},
                      BadFileCase{"StrayElement", PresetFile(kOneParam + "            <Value name=\"AB\" />\n")},
                      BadFileCase{"NoParameters", PresetFile("")},
                      BadFileCase{"NotXML", "\x01\x02 not a preset"}),
    [](const ::testing::TestParamInfo<BadFileCase>& info) { return std::string(info.param.name); });

// ---- The user default preset -------------------------------------------------------

TEST_F(BrimlowPresets, SavedUserDefaultIsWhatTheNextInstanceStartsFrom) {
  std::vector<double> saved;
  {
    std::unique_ptr<Brimlow> plug(MakePlug());
    ASSERT_TRUE(plug->RestorePreset(3));  // "Master:Telephone" becomes the current preset
    Named(*plug, "Gain 2")->Set(4.5);
    Named(*plug, "FScale")->Set(40.0);
    saved = Values(*plug);
    // The editor passes no folder.
    ASSERT_TRUE(plug->SaveUserDefaultPreset(WDL_String("")));
  }
  EXPECT_TRUE(FileExists(HostFolder() + "default.tps"));

  std::unique_ptr<Brimlow> next(MakePlug());
  EXPECT_STREQ(next->PresetLabel(), "Master:Telephone");
  EXPECT_EQ(Values(*next), saved);
  // Not only the values shown: the mirrors the engine and the graph read.
  EXPECT_DOUBLE_EQ(next->Mirrors().bandGain[1], 4.5);
  EXPECT_EQ(next->Mirrors().bandActive[0], 1);
  EXPECT_DOUBLE_EQ(next->Mirrors().bandFreq[4], 4400.0);
  EXPECT_DOUBLE_EQ(next->Mirrors().fScalePercent, 40.0);
  ASSERT_NE(next->GetScope(), nullptr);
  EXPECT_DOUBLE_EQ(next->GetScope()->mFreqZoom, 0.4);
  // The first preset captures the user default under its label.
  EXPECT_STREQ(next->GetPresetName(0), "Master:Telephone");
  for (int i = 0; i < next->NParams(); ++i) next->GetParam(i)->Set(next->GetParam(i)->GetDefault());
  ASSERT_TRUE(next->RestorePreset(0));
  EXPECT_EQ(Values(*next), saved);
}

TEST_F(BrimlowPresets, UserDefaultWithSeveralSolosAndItsOwnCurveSwitchesComesBackAsSaved) {
  // The band menu solos a band without touching the others, and the curve
  // switches need not follow the active bands: the file holds what was set.
  std::vector<double> saved;
  {
    std::unique_ptr<Brimlow> plug(MakePlug());
    for (const char* name : {"Solo 3", "Solo 5", "Active 2", "Show Curve Right", "Show only selected curve"}) {
      Named(*plug, name)->Set(1.0);
    }
    Named(*plug, "ChMode 2")->Set(TextValue(*plug, "ChMode 2", "Side"));
    saved = Values(*plug);
    ASSERT_TRUE(plug->SaveUserDefaultPreset(WDL_String("")));
  }
  std::unique_ptr<Brimlow> next(MakePlug());
  EXPECT_EQ(Values(*next), saved);
  for (int b = 0; b < kNumBands; ++b) {
    EXPECT_EQ(next->Mirrors().bandSolo[b], saved[BandParamIndex(b, kBandSolo)]) << "band " << b;
  }
  for (int c = 0; c < 5; ++c) EXPECT_EQ(next->Mirrors().showCurve[c], saved[kParamShowCurveAll + c]) << c;

  // Read again into a running instance whose user last shift-clicked, with
  // one of the saved solos switched off and another band soloed.
  Named(*next, "Solo 5")->Set(0.0);
  Named(*next, "Solo 7")->Set(1.0);
  next->OnParamChange(BandParamIndex(4, kBandSolo));
  next->OnParamChange(BandParamIndex(6, kBandSolo));
  next->GetGUI()->mLastMouseMod = IMouseMod(true, false, true);
  ASSERT_TRUE(next->LoadUserDefaultPreset(true));
  EXPECT_EQ(Values(*next), saved);
  for (int b = 0; b < kNumBands; ++b) {
    EXPECT_EQ(next->Mirrors().bandSolo[b], saved[BandParamIndex(b, kBandSolo)]) << "band " << b;
  }
  for (int c = 0; c < 5; ++c) EXPECT_EQ(next->Mirrors().showCurve[c], saved[kParamShowCurveAll + c]) << c;
}

TEST_F(BrimlowPresets, UserDefaultLabelKeepsItsBlanks) {
  // The label is the name of the preset in force when the default was
  // saved, such as a preset file's name.
  {
    std::unique_ptr<Brimlow> plug(MakePlug());
    plug->SetPresetName(plug->GetCurrentPresetIdx(), " Bass  Boost ");
    ASSERT_TRUE(plug->SaveUserDefaultPreset(WDL_String("")));
  }
  std::unique_ptr<Brimlow> next(MakePlug());
  EXPECT_STREQ(next->PresetLabel(), " Bass  Boost ");
  EXPECT_STREQ(next->GetPresetName(0), " Bass  Boost ");
}

TEST_F(BrimlowPresets, UserDefaultGoesToTheFolderGiven) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  const std::string folder = mDataHome + "/elsewhere-";
  ASSERT_TRUE(plug->SaveUserDefaultPreset(WDL_String(folder.c_str())));
  EXPECT_TRUE(FileExists(folder + "default.tps"));
  EXPECT_FALSE(FileExists(HostFolder() + "default.tps"));
  // The instance's own folder text is not extended by the write.
  EXPECT_EQ(std::string(plug->HostFormatPath().Get()), HostFolder());
}

TEST_F(BrimlowPresets, UnreadableUserDefaultLeavesInitAndTheDefaults) {
  for (const std::string& text :
       {PresetFile(kOneParam, "Someone Else", "Brimlow", "Mine"), PresetFile(kOneParam).substr(0, 150),
        PresetFile(kOneParam + "            <Other />\n", "Kestrelbay", "Brimlow", "Mine")}) {
    std::filesystem::create_directories(HostFolder());
    WriteFile(HostFolder() + "default.tps", text);
    std::unique_ptr<Brimlow> plug(MakePlug());
    EXPECT_STREQ(plug->PresetLabel(), "Init");
    EXPECT_STREQ(plug->GetPresetName(0), "Init");
    for (int i = 0; i < plug->NParams(); ++i) {
      EXPECT_EQ(plug->GetParam(i)->Value(), plug->GetParam(i)->GetDefault()) << i;
    }
  }
}

TEST_F(BrimlowPresets, LoadUserDefaultOnlyWhenAsked) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  WriteFile(HostFolder() + "default.tps", PresetFile(kOneParam, "Kestrelbay", "Brimlow", "Mine"));
  EXPECT_FALSE(plug->LoadUserDefaultPreset(false));
  EXPECT_EQ(Named(*plug, "Gain 1")->Value(), 0.0);
  EXPECT_STREQ(plug->PresetLabel(), "Init");
  EXPECT_TRUE(plug->LoadUserDefaultPreset(true));
  EXPECT_EQ(Named(*plug, "Gain 1")->Value(), 5.0);
  EXPECT_STREQ(plug->PresetLabel(), "Mine");
}

}  // namespace
