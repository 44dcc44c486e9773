#pragma once

#include <ostream>
#include <string>

// A preset document written out by hand from its documented layout, for
// the Kestrelbay / Brimlow texts and two double parameters of the mixed
// table ("Param 3" and "Param 7"). The rejection cases swap one part.
struct PresetDocument {
  std::string raw;  // when set, the whole text
  std::string root = "PresetXMLTree";
  std::string vendor = "<PluginVendor>Kestrelbay</PluginVendor>";
  std::string product = "<PluginName>Brimlow</PluginName>";
  std::string version = "<PluginVersion>3.2.3</PluginVersion>";
  std::string data;
  std::string presetTag = "<Preset name=\"Loaded\">";
  std::string parameter =
      "<Parameter>\n"
      "            <Param name=\"Param 3\" val=\"12.500000\" />\n"
      "            <Param name=\"Param 7\" val=\"-7.250000\" />\n"
      "        </Parameter>";

  std::string Text() const {
    if (!raw.empty()) return raw;
    return "<?xml version=\"1.0\" ?>\n<" + root + " version=\"1\">\n    " + vendor + "\n    " + product + "\n    " +
           version + "\n" + (data.empty() ? "" : "    " + data + "\n") + "    " + presetTag + "\n        " +
           parameter + "\n    </Preset>\n</" + root + ">\n";
  }
};

struct RejectedDocument {
  const char* what;
  std::string PresetDocument::*part;
  const char* replacement;
};

inline void PrintTo(const RejectedDocument& d, std::ostream* os) { *os << d.what; }

// Each of these must be refused with nothing changed.
inline const RejectedDocument kRejectedDocuments[] = {
    {"another vendor", &PresetDocument::vendor, "<PluginVendor>Otherbay</PluginVendor>"},
    {"product differing only in case", &PresetDocument::product, "<PluginName>brimlow</PluginName>"},
    {"vendor without a text node", &PresetDocument::vendor, "<PluginVendor />"},
    {"no vendor", &PresetDocument::vendor, ""},
    {"no version", &PresetDocument::version, ""},
    {"another root", &PresetDocument::root, "PresetTree"},
    {"first attribute of Preset not name", &PresetDocument::presetTag, "<Preset id=\"2\" name=\"Loaded\">"},
    {"Preset without attributes", &PresetDocument::presetTag, "<Preset>"},
    {"stray element after good ones", &PresetDocument::parameter,
     "<Parameter><Param name=\"Param 3\" val=\"12.5\" /><Param name=\"Param 7\" val=\"1\" /><Stray /></Parameter>"},
    {"empty Parameter", &PresetDocument::parameter, "<Parameter></Parameter>"},
    {"no Parameter", &PresetDocument::parameter, ""},
    {"Parameter opening with a comment", &PresetDocument::parameter,
     "<Parameter><!-- x --><Param name=\"Param 3\" val=\"12.5\" /></Parameter>"},
    {"unbalanced tags", &PresetDocument::parameter, "<Parameter><Param name=\"Param 3\" val=\"12.5\"></Parameter>"},
    {"not XML", &PresetDocument::raw, "Kestrelbay Brimlow 12.5"},
    // Found by fuzzing: the parser read past the end of a text whose last
    // byte opens a UTF-8 sequence.
    {"text ending inside a UTF-8 sequence", &PresetDocument::raw,
     "<?xml version=\"1.0\" ?>\n<PresetXMLTree version=\"1\">\n    <PluginVendor>Kestrelbay</PluginVendor>\n"
     "    <PluginName>Brimlow</PluginName>\n    <PluginVersion>3.2.3</PluginVersion>\n    <Preset name=\"\xE7"},
};
