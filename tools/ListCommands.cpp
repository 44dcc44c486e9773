#include <string>

#include "framework/IPlugBase.h"
#include "tools/Commands.h"
#include "tools/HostSession.h"
#include "tools/NumberArgument.h"

namespace {

const char* KindName(int type) {
  switch (type) {
    case IParam::kTypeBool: return "switch";
    case IParam::kTypeInt: return "integer";
    case IParam::kTypeEnum: return "enumeration";
    case IParam::kTypeDouble: return "number";
    default: return "unused";
  }
}

// One line a parameter: "12: Freq 1 (number) 10 to 48000 Hz, default 30".
std::string DescribeParam(int idx, const IParam& param) {
  std::string line = std::to_string(idx) + ": ";
  line += param.GetNameForHost()[0] ? param.GetNameForHost() : "(unnamed)";
  line += std::string(" (") + KindName(param.Type()) + ") " + FormatNumber(param.GetMin()) + " to " +
          FormatNumber(param.GetMax());
  const char* label = param.GetLabelForHost();
  if (label[0]) line += std::string(" ") + label;
  line += ", default " + FormatNumber(param.GetDefault());
  const char* defaultText =
      param.GetNDisplayTexts() > 0 ? param.GetDisplayText(static_cast<int>(param.GetDefault())) : "";
  if (defaultText[0]) line += std::string(" \"") + defaultText + "\"";
  if (param.GetNDisplayTexts() > 0) {
    line += "; texts:";
    for (int i = 0; i < param.GetNDisplayTexts(); ++i) {
      int value = 0;
      const char* text = param.GetDisplayTextAtIdx(i, &value);
      line += std::string(i > 0 ? "," : "") + " " + std::to_string(value) + " \"" + text + "\"";
    }
  }
  return line;
}

}  // namespace

int RunParamsCommand(FILE* out) {
  HostSession session;
  const IPlugBase& plug = session.Plug();
  for (int i = 0; i < plug.NParams(); ++i) std::fprintf(out, "%s\n", DescribeParam(i, *plug.GetParam(i)).c_str());
  return 0;
}

int RunPresetsCommand(FILE* out) {
  HostSession session;
  const std::vector<std::string> names = session.PresetNames();
  for (size_t i = 0; i < names.size(); ++i) std::fprintf(out, "%zu: %s\n", i, names[i].c_str());
  return 0;
}
