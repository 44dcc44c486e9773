#include "framework/PresetXML.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <tinyxml.h>

#include "framework/IParam.h"
#include "framework/NumberText.h"

namespace {

// The first child node of that name, when it is an element. A text node
// can carry the same value as an element's name, so the kind is checked.
const TiXmlElement* ChildElement(const TiXmlNode* parent, const char* name) {
  const TiXmlNode* node = parent ? parent->FirstChild(name) : nullptr;
  return node ? node->ToElement() : nullptr;
}

bool TextEquals(const TiXmlElement* element, const char* expected) {
  const char* text = element->GetText();
  return std::strcmp(text ? text : "", expected ? expected : "") == 0;
}

// "val" as a number; 0.0 when it is absent or not a number. NaN counts as
// not a number: no parameter may end up holding it.
double ReadValue(const TiXmlElement* param) {
  double value = 0.0;
  if (!ScanDoubleC(param->Attribute("val"), &value) || std::isnan(value)) value = 0.0;
  return value;
}

// The parser, printer and destructor of the XML library each recurse once
// per level of nesting, so a deeply nested text (a few hundred kilobytes of
// "<a>") would overflow the stack. Our documents are four levels deep; far
// deeper ones are refused before the library sees them.
constexpr int kMaxNesting = 256;

// Counts element nesting the way the parser will see it: comments, CDATA,
// declarations and quoted attribute values do not open elements. An
// unterminated construct ends the scan; the parser then reports it.
bool NestingWithinLimit(const std::string& text) {
  int depth = 0;
  size_t i = 0;
  const size_t n = text.size();
  auto skipPast = [&](const char* end) {
    const size_t at = text.find(end, i);
    i = at == std::string::npos ? n : at + std::strlen(end);
  };
  while ((i = text.find('<', i)) != std::string::npos) {
    if (text.compare(i, 4, "<!--") == 0) {
      skipPast("-->");
    } else if (text.compare(i, 9, "<![CDATA[") == 0) {
      skipPast("]]>");
    } else if (text.compare(i, 2, "<?") == 0) {
      skipPast("?>");
    } else if (text.compare(i, 2, "<!") == 0) {
      skipPast(">");
    } else if (text.compare(i, 2, "</") == 0) {
      --depth;
      skipPast(">");
    } else {
      char quote = 0;
      size_t j = i + 1;
      for (; j < n; ++j) {
        const char c = text[j];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (j >= n) return true;
      if (text[j - 1] != '/' && ++depth > kMaxNesting) return false;
      i = j + 1;
    }
  }
  return true;
}

// In UTF-8 text the parser steps over each sequence by the length its lead
// byte announces (two bytes from C2, three from E0, four from F0), whatever
// follows. Text in a host's legacy code page breaks that: a name ending in
// Latin-1 "\xE9" swallows its closing quote (the whole document is then
// refused), one followed by " &" keeps the entity undecoded and grows on
// every save, and a lead byte at the very end makes the parser read past
// the terminator. Such text is parsed byte by byte instead, which keeps
// every byte as written; text whose sequences are all complete parses as
// it always did.
bool SequencesComplete(const std::string& text) {
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead > 0xF4) return false;
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length > n - i) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

bool ParseText(TiXmlDocument* doc, const std::string& text) {
  if (!NestingWithinLimit(text)) return false;
  if (SequencesComplete(text)) {
    doc->Parse(text.c_str());
  } else {
    // The parser skips a UTF-8 byte-order mark only when it reads UTF-8.
    const bool mark = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    doc->Parse(text.c_str() + (mark ? 3 : 0), nullptr, TIXML_ENCODING_LEGACY);
  }
  return !doc->Error();
}

// The parser condenses the blanks of element text: a run becomes one blank
// and blanks at either end go (other white space is written as a character
// reference and comes back). A text that would lose blanks goes out as
// CDATA, which is read back byte for byte; CDATA cannot hold "]]>", and a
// file's line ends turn a CR into LF, so such text stays as it was.
bool KeepsBlanksOnlyAsCData(const std::string& text) {
  if (text.empty() || text.find("]]>") != std::string::npos || text.find('\r') != std::string::npos) return false;
  return text.front() == ' ' || text.back() == ' ' || text.find("  ") != std::string::npos;
}

void AppendTextElement(TiXmlElement* parent, const char* name, const char* text) {
  TiXmlElement* element = new TiXmlElement(name);
  TiXmlText* node = new TiXmlText(text ? text : "");
  node->SetCDATA(KeepsBlanksOnlyAsCData(node->ValueStr()));
  element->LinkEndChild(node);
  parent->LinkEndChild(element);
}

}  // namespace

PresetXML::PresetXML() : mDoc(new TiXmlDocument) {}

PresetXML::~PresetXML() = default;

void PresetXML::Begin(const char* vendor, const char* product, const char* version, const char* data,
                      const char* presetName) {
  mDoc->Clear();
  mDoc->LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
  TiXmlElement* root = new TiXmlElement("PresetXMLTree");
  root->SetAttribute("version", "1");
  mDoc->LinkEndChild(root);
  AppendTextElement(root, "PluginVendor", vendor);
  AppendTextElement(root, "PluginName", product);
  AppendTextElement(root, "PluginVersion", version);
  if (data) AppendTextElement(root, "Data", data);
  TiXmlElement* preset = new TiXmlElement("Preset");
  preset->SetAttribute("name", presetName ? presetName : "");
  root->LinkEndChild(preset);
  mParameter = new TiXmlElement("Parameter");
  preset->LinkEndChild(mParameter);
}

void PresetXML::AddParam(const char* name, double value) {
  if (!mParameter) return;
  char text[kNumberTextSize];
  PrintFixedC(value, text, sizeof text);
  TiXmlElement* param = new TiXmlElement("Param");
  param->SetAttribute("name", name ? name : "");
  param->SetAttribute("val", text);
  mParameter->LinkEndChild(param);
}

std::string PresetXML::Print() const {
  TiXmlPrinter printer;  // default indent of four blanks and "\n"
  mDoc->Accept(&printer);
  return printer.Str();
}

bool PresetXML::SaveFile(const char* path) const {
  if (!path || !*path) return false;
  static std::atomic<unsigned> serial{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = std::string(path) + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    // 0666 lets the umask decide, as a plain fopen would.
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  FILE* file = fdopen(fd, "w");
  if (!file) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  bool ok = mDoc->SaveFile(file);
  ok = std::fflush(file) == 0 && ok;
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool PresetXML::Parse(const char* text) {
  mDoc->Clear();
  mDoc->ClearError();
  mParameter = nullptr;
  return text && ParseText(mDoc.get(), text);
}

bool PresetXML::LoadFile(const char* path) {
  mDoc->Clear();
  mDoc->ClearError();
  mParameter = nullptr;
  FILE* file = path ? std::fopen(path, "rb") : nullptr;
  if (!file) return false;
  std::string raw;
  char block[4096];
  size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) raw.append(block, got);
  const bool readOk = !std::ferror(file);
  std::fclose(file);
  if (!readOk) return false;
  // What the library's own file loader hands its parser: the text up to
  // the first NUL, with CR LF and lone CR turned into LF. Loading here lets
  // the text be checked before the parser chooses how to read it.
  std::string text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size() && raw[i]; ++i) {
    if (raw[i] != '\r') {
      text += raw[i];
    } else {
      text += '\n';
      if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
    }
  }
  return ParseText(mDoc.get(), text);
}

bool PresetXML::Check(const char* vendor, const char* product) {
  mEntries.clear();
  mPresetName.clear();
  mData.clear();
  mHasData = false;

  const TiXmlElement* root = mDoc->FirstChildElement("PresetXMLTree");
  if (!root) return false;
  const TiXmlElement* vendorElement = ChildElement(root, "PluginVendor");
  if (!vendorElement || !TextEquals(vendorElement, vendor)) return false;
  const TiXmlElement* productElement = ChildElement(root, "PluginName");
  if (!productElement || !TextEquals(productElement, product)) return false;
  if (!ChildElement(root, "PluginVersion")) return false;

  const TiXmlElement* preset = ChildElement(root, "Preset");
  if (!preset) return false;
  // The first attribute, not a lookup: a "Preset" that puts another
  // attribute first is another document shape.
  const TiXmlAttribute* nameAttribute = preset->FirstAttribute();
  if (!nameAttribute || std::strcmp(nameAttribute->Name(), "name") != 0) return false;

  const TiXmlNode* parameter = preset->FirstChild("Parameter");
  const TiXmlNode* first = parameter ? parameter->FirstChild() : nullptr;
  if (!first || !first->ToElement()) return false;
  std::vector<Entry> entries;
  for (const TiXmlElement* param = first->ToElement(); param; param = param->NextSiblingElement()) {
    if (param->ValueStr() != "Param") return false;
    const char* name = param->Attribute("name");
    entries.push_back({name ? name : "", ReadValue(param)});
  }

  mPresetName = nameAttribute->Value();
  if (const TiXmlElement* data = root->FirstChildElement("Data")) {
    mHasData = true;
    const char* text = data->GetText();
    mData = text ? text : "";
  }
  mEntries.swap(entries);
  return true;
}

std::vector<IParamValue> PresetXML::Resolve(const WDL_PtrList<IParam>& params, bool flaggedOnly) const {
  std::vector<IParamValue> values;
  values.reserve(mEntries.size());
  const int n = params.GetSize();
  // Writers put the elements in index order, so each element stands at the
  // index after the one before it.
  int expected = 0;
  for (const Entry& entry : mEntries) {
    int idx = -1;
    if (!entry.mName.empty()) {
      for (int i = 0; i < n && idx < 0; ++i) {
        if (entry.mName == params.Get(i)->GetNameForHost()) idx = i;
      }
    } else {
      // Only unflagged parameters can be missing before it (a flagged-only
      // document leaves them out); a flagged named one would have been
      // written in between.
      for (int i = expected; i < n && idx < 0; ++i) {
        const IParam* param = params.Get(i);
        if (!param->GetNameForHost()[0]) {
          idx = i;
        } else if (param->IsFlagged()) {
          break;
        }
      }
    }
    expected = (idx < 0 ? expected : idx) + 1;
    if (idx < 0) continue;
    if (flaggedOnly && !params.Get(idx)->IsFlagged()) continue;
    values.emplace_back(idx, entry.mValue);
  }
  return values;
}
