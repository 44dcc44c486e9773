// Which host application runs the plug-in, from its name.
#include <cstring>

#include "framework/IPlugBase.h"
#include "framework/Utilities.h"

namespace {

struct HostMatch {
  const char* substring;
  int id;
};

// Tested in this order; the first substring found decides, so "gold" wins
// over "gwvst" and "live" matches any name containing it.
constexpr HostMatch kHostMatches[] = {
    {"cubase", 3},       {"reaper", 1},     {"nuendo", 4},
    {"cakewalk", 5},     {"samplitude", 8}, {"fruity", 7},
    {"live", 9},         {"melodyne", 12},  {"vstmanlib", 13},
    {"aulab", 14},       {"garageband", 22}, {"forte", 15},
    {"chainer", 16},     {"audition", 17},  {"gold", 17},
    {"orion", 18},       {"sawstudio", 20}, {"logic", 21},
    {"digital", 23},     {"audiomulch", 25}, {"presonus", 26},
    {"vst3plugintesthost", 27}, {"protools", 2}, {"ardour", 28},
    {"standalone", 24},  {"wavelab", 29},   {"reason", 30},
    {"gwvst", 31},       {"waveform", 32},  {"bitwig studio", 33},
    {"vegas", 6},        {"audacity", 34},  {"acoustica", 35},
    {"plugindoctor", 36}, {"izotope rx", 37}, {"savihost", 38},
    {"blue cat's vst host", 39}, {"sadie", 40}, {"spectralayers", 41},
    {"vsthost", 42},     {"vst plugin analyser", 43}, {"wavosaur", 44},
};

struct HostName {
  int id;
  const char* name;
};

constexpr HostName kHostNames[] = {
    {1, "Reaper"},       {2, "ProTools"},    {3, "Cubase"},          {4, "Nuendo"},
    {5, "Sonar"},        {7, "FLStudio"},    {8, "Samplitude"},      {9, "Live"},
    {12, "Melodyne"},    {13, "VSTScanner"}, {14, "AULab"},          {15, "Forte"},
    {16, "Chainer"},     {17, "Audition"},   {18, "Orion"},          {20, "SAWStudio"},
    {21, "Logic"},       {22, "GarageBand"}, {23, "DigitalPerformer"}, {24, "Standalone"},
    {25, "AudioMulch"},  {26, "StudioOne"},  {27, "VST3PluginTestHost"}, {28, "Ardour"},
    {29, "WaveLab"},     {30, "Reason"},     {31, "GoldWave"},       {32, "Waveform"},
    {33, "Bitwig"},      {34, "Audacity"},   {35, "Acoustica"},      {36, "PluginDoctor"},
    {37, "iZotope RX Audio Editor"}, {38, "SAVIHost"}, {39, "Blue Cat's VST Host"}, {40, "Sadie"},
    {41, "SpectraLayers"}, {42, "VSTHost"},  {43, "VST Plugin Analyser"}, {44, "Wavosaur"},
};

constexpr const char* kAPINames[] = {"VST2", "VST3", "AU", "RTAS", "AAX", "App"};

}  // namespace

int IPlugBase::LookUpHost(const char* name) {
  if (!name) return 0;
  // Longer names are cut to the buffer; no listed substring is that long.
  char truncated[256];
  CopyText(truncated, name);
  char lower[256];
  ToLower(lower, truncated);
  for (const HostMatch& match : kHostMatches) {
    if (std::strstr(lower, match.substring)) return match.id;
  }
  return 0;
}

char* IPlugBase::GetHostNameStr(int hostId, char* buf) {
  const char* name = "Unknown";
  for (const HostName& entry : kHostNames) {
    if (entry.id == hostId) name = entry.name;
  }
  std::strcpy(buf, name);
  return buf;
}

void IPlugBase::SetHost(const char* name, int version) {
  mHost = LookUpHost(name);
  mHostVersion = version;
  Trace("SetHost", __LINE__, "host_%sknown:%s:v%d.%d.%d", mHost == 0 ? "un" : "", name, (version >> 16) & 0xff,
        (version >> 8) & 0xff, version & 0xff);
}

int IPlugBase::GetHost() { return mHost; }

WDL_String IPlugBase::GetHostName() {
  char buf[24];
  return WDL_String(GetHostNameStr(GetHost(), buf));
}

const char* IPlugBase::GetAPIString() {
  const int api = GetAPI();
  if (api < 0 || api >= static_cast<int>(sizeof kAPINames / sizeof kAPINames[0])) return "";
  return kAPINames[api];
}

// The architecture the binary was built for.
const char* IPlugBase::GetArchString() const { return sizeof(void*) == 8 ? "x64" : "x32"; }
