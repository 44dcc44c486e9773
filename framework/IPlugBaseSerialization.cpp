// The parameter payloads (binary and XML) and the default state slots.

#include <cmath>
#include <cstring>
#include <string>

#include "framework/IPlugBase.h"
#include "framework/PresetXML.h"
#include "framework/Utilities.h"

namespace {

// A 32-bit length, then the text. Either both land or the chunk is left as
// it was.
bool AppendXMLPayload(ChunkBuffer* chunk, const std::string& text) {
  if (!chunk || text.empty() || text.size() > 0x7fffffffu - sizeof(int32_t)) return false;
  const int before = chunk->Size();
  const int32_t length = static_cast<int32_t>(text.size());
  if (chunk->Put(length) < 1 || chunk->PutBytes(text.data(), length) < 1) {
    chunk->Resize(before);
    return false;
  }
  return true;
}

}  // namespace

void IPlugBase::SetPluginTexts(const char* vendor, const char* product, const char* version) {
  mVendorText.Set(vendor);
  mProductText.Set(product);
  mVersionText.Set(version);
}

void IPlugBase::BuildPresetXML(PresetXML* doc, const char* vendor, const char* product, const char* version,
                               const char* data, const char* presetName, const double* values,
                               bool flaggedOnly) const {
  doc->Begin(vendor, product, version, data, presetName);
  for (int i = 0; i < NParams(); ++i) {
    const IParam* param = GetParam(i);
    if (flaggedOnly && !param->IsFlagged()) continue;
    doc->AddParam(param->GetNameForHost(), values ? values[i] : param->Value());
  }
}

bool IPlugBase::SerializeParams(ChunkBuffer* chunk) {
  WDL_MutexLock lock(&mMutex);
  if (mIsXML) return SerializeParams2XMLString(chunk);
  if (!IsStateAccessAllowed(kBinarySave) || NParams() == 0) return true;
  if (!chunk) return false;
  const int before = chunk->Size();
  for (int i = 0; i < NParams(); ++i) {
    if (chunk->Put(GetParam(i)->Value()) < 1) {
      chunk->Resize(before);
      return false;
    }
  }
  return true;
}

int IPlugBase::UnserializeParams(const ChunkBuffer* chunk, int startPos, bool flaggedOnly) {
  WDL_MutexLock lock(&mMutex);
  if (mIsXML) return UnSerializeXMLString2Params(chunk, startPos, flaggedOnly);

  const bool allowed = IsStateAccessAllowed(kBinaryLoad);
  const int n = NParams();
  int pos = chunk ? startPos : -1;
  for (int i = 0; i < n && pos >= 0; ++i) {
    double value = 0.0;
    pos = chunk->Get(&value, pos);
    // A payload that ends early sets nothing it does not fully cover, and
    // a NaN (a damaged chunk) is not stored.
    if (pos < 0 || std::isnan(value)) continue;
    IParam* param = GetParam(i);
    if (allowed && (!flaggedOnly || param->IsFlagged())) param->Set(value);
  }
  for (int i = 0; i < n; ++i) OnParamChange(i);
  return pos;
}

bool IPlugBase::SerializeParams2XMLString(ChunkBuffer* chunk) {
  if (!IsStateAccessAllowed(kXMLSave)) return true;
  // The name comes from the first record, which the reader also writes.
  PresetXML doc;
  BuildPresetXML(&doc, mVendorText.Get(), mProductText.Get(), mVersionText.Get(), nullptr, GetPresetName(0),
                 nullptr, false);
  return AppendXMLPayload(chunk, doc.Print());
}

bool IPlugBase::SerializePresetParam2XMLString(const double* values, ChunkBuffer* chunk, const char* presetName) {
  if (!values && NParams() > 0) return false;
  PresetXML doc;
  BuildPresetXML(&doc, mVendorText.Get(), mProductText.Get(), mVersionText.Get(), nullptr, presetName, values,
                 false);
  return AppendXMLPayload(chunk, doc.Print());
}

int IPlugBase::UnSerializeXMLString2Params(const ChunkBuffer* chunk, int startPos, bool flaggedOnly) {
  if (!chunk || startPos < 0) return 0;
  int32_t length = 0;
  const int textPos = chunk->Get(&length, startPos);
  // The stored length is checked against what the chunk holds, in 64 bits
  // so that a huge length cannot wrap around.
  if (textPos < 0 || length <= 0 || static_cast<int64_t>(textPos) + length > chunk->Size()) return 0;
  const char* bytes = reinterpret_cast<const char*>(chunk->GetData()) + textPos;
  const std::string text(bytes, strnlen(bytes, static_cast<size_t>(length)));

  PresetXML doc;
  if (!doc.Parse(text.c_str()) || !doc.Check(mVendorText.Get(), mProductText.Get())) return 0;
  const std::vector<IParamValue> values = doc.Resolve(mParams, flaggedOnly);

  // The first record takes the name, whichever record is current: it is
  // also where the writer takes the name from.
  if (IPreset* first = GetPreset(0)) CopyText(first->mName, doc.GetPresetName().c_str());
  if (IsStateAccessAllowed(kXMLLoad)) {
    for (const IParamValue& v : values) GetParam(v.mParamIdx)->Set(v.mValue);
  }
  for (int i = 0; i < NParams(); ++i) OnParamChange(i);
  return textPos + length;
}

bool IPlugBase::CompareState(const double* data, int startIndex) {
  if (mIsXML) return false;
  if (NParams() == 0) return true;
  if (!data || startIndex < 0) return false;
  for (int i = 0; i < NParams(); ++i) {
    const float difference = static_cast<float>(GetParam(i)->Value()) - static_cast<float>(data[startIndex + i]);
    if (!(std::fabs(difference) < 0.00001f)) return false;
  }
  return true;
}

bool IPlugBase::SerializeState(ChunkBuffer* chunk) { return SerializeParams(chunk); }

int IPlugBase::UnserializeStateAll(const ChunkBuffer* chunk, int startPos) {
  return UnserializeParams(chunk, startPos, false);
}

int IPlugBase::UnserializeState(const ChunkBuffer* chunk, int startPos, bool flaggedOnly) {
  return UnserializeParams(chunk, startPos, flaggedOnly);
}
