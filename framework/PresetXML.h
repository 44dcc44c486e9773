#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/IParamValue.h"
#include "framework/containers/WDL_PtrList.h"

class IParam;
class TiXmlDocument;
class TiXmlElement;

// The "PresetXMLTree" document shared by the XML parameter payload and the
// preset files. Both writers build it here and both readers check its whole
// shape here before anything is applied, so a rejected document changes no
// parameter, preset name or preset record.
//
//   <?xml version="1.0" ?>
//   <PresetXMLTree version="1">
//       <PluginVendor>vendor</PluginVendor>
//       <PluginName>product</PluginName>
//       <PluginVersion>version</PluginVersion>
//       <Data>text</Data>                      (preset files only, optional)
//       <Preset name="preset name">
//           <Parameter>
//               <Param name="Gain" val="-3.500000" />
//               ...
class PresetXML {
 public:
  PresetXML();
  ~PresetXML();
  PresetXML(const PresetXML&) = delete;
  PresetXML& operator=(const PresetXML&) = delete;

  // ---- Writing ---------------------------------------------------------------
  // Starts a new document; data null means no "Data" element.
  void Begin(const char* vendor, const char* product, const char* version, const char* data, const char* presetName);
  // Appends one "Param"; the value is printed with "%f" in the C locale.
  void AddParam(const char* name, double value);
  // The document as the payload carries it (four-blank indent, "\n").
  std::string Print() const;
  // Writes a temporary beside path and renames it over path, so a write
  // that fails part way leaves any earlier file whole.
  bool SaveFile(const char* path) const;

  // ---- Reading ---------------------------------------------------------------
  bool Parse(const char* text);
  bool LoadFile(const char* path);
  // Checks the shape of a parsed document: the root, a vendor and a product
  // text equal to the given ones byte for byte (a missing text reads as ""),
  // a "PluginVersion" element (not compared), a "Preset" element whose first
  // attribute is "name", and a "Parameter" whose first child node is an
  // element and whose child elements are all "Param". On success the
  // accessors below describe the document.
  bool Check(const char* vendor, const char* product);
  const std::string& GetPresetName() const { return mPresetName; }
  bool HasData() const { return mHasData; }
  const std::string& GetData() const { return mData; }
  // The assignments of a checked document, in document order (a later
  // element for the same parameter wins when applied in order). A named
  // element goes to the first parameter of that name. A nameless parameter
  // is written with an empty name and could not be found again by it, so an
  // element with no name goes by position: to the parameter at the index
  // after the previous element's when that one is nameless too, or past
  // unflagged parameters (which a flagged-only document leaves out) to the
  // next nameless one. Unmatched elements are dropped, and so are
  // unflagged parameters when flaggedOnly is set.
  std::vector<IParamValue> Resolve(const WDL_PtrList<IParam>& params, bool flaggedOnly) const;

 private:
  struct Entry {
    std::string mName;
    double mValue;
  };

  std::unique_ptr<TiXmlDocument> mDoc;
  TiXmlElement* mParameter = nullptr;  // where AddParam appends
  std::string mPresetName;
  bool mHasData = false;
  std::string mData;
  std::vector<Entry> mEntries;
};
