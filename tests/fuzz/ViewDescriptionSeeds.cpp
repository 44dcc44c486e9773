// Seeds for fuzz_view_description: a description of every view kind and a
// few item lists with an item of every type.

#include <string>
#include <vector>

#include "tests/fuzz/FuzzSeeds.h"
#include "tests/rtas/views/ItemListBytes.h"

namespace {

FuzzSeed Description(const char* name, const std::string& text) {
  std::vector<unsigned char> bytes{2};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return {name, bytes};
}

FuzzSeed ItemList(const char* name, const std::vector<uint8_t>& ditl) {
  std::vector<unsigned char> bytes{1};
  bytes.insert(bytes.end(), ditl.begin(), ditl.end());
  return {name, bytes};
}

std::vector<FuzzSeed> MakeSeeds() {
  std::vector<FuzzSeed> seeds = {
      Description("editor", "!Background[('NoID')]"),
      Description("plate", "!Background[('abcd' plate 3)]"),
      Description("process-control", "!ProcessControl[('gain')(\"Gain\" 5 0 0x10)]"),
      Description("scroll-control", "!ScrollControl[('vscr')(\"Scroll\" 1 -2147483648)]"),
      Description("slider", "!Slider[('sldr' inversePlate)('gain')(reverse)]"),
      Description("dial", "!Dial[('dial' 4)('gain')(cyclical reverse)]"),
      Description("text-editor", "!TextEditor[('edit')('gain' reverse)]"),
      Description("radio-group", "!RadioGroup[('grup')('gain')(\"EnableHighlight\")]"),
      Description("text-popup", "!TextPopup[('popu')('gain')]"),
      Description("view-popup", "!ViewPopup[('vpop')('gain')(128 'abcd' 'efgh')]"),
      Description("button", "!Button[('bttn')(\"Press\" 0 1 0)]"),
      Description("check-box", "!CheckBox[('chck')(\"Tick\" 0 1 1)]"),
      Description("radio-button", "!RadioButton[('rdio')(\"One\" 0 1 0)]"),
      Description("static-text", "!StaticText[('text')(`quoted \\t text` center)]"),
      Description("picture", "!Picture[('pict')(normal 128 clicked \"x\" disabled 130)]"),
      Description("item-list", "!ItemList[('list')(128 'hscr' 'vscr')]"),
      Description("macros", "!StaticText[('text')(shortVersion)]"),
      Description("numbers", "!Background[('abcd')(- ,12 0x1F 2.5 .5 '' 'x' '\\n')]"),
      Description("nested", "!Background[('abcd')([1 (2 [3 (4)])])]"),
      Description("plain-text", "Hello"),
  };
  seeds.push_back(ItemList("every-type", ItemListBytes()
                                             .Item(0, 0, 20, 100, 0, "")
                                             .Item(20, 0, 40, 100, 4, "OK")
                                             .Item(40, 0, 60, 100, 5, "Box")
                                             .Item(60, 0, 80, 100, 7, ItemListBytes::Word(200))
                                             .Item(80, 0, 100, 100, 8, "static")
                                             .Item(100, 0, 120, 100, 0x90, "!StaticText[('text')(\"edit\")]")
                                             .Item(120, 0, 140, 100, 32, ItemListBytes::Word(128))
                                             .Item(140, 0, 160, 100, 64, ItemListBytes::Word(129))
                                             .Bytes()));
  seeds.push_back(ItemList("nested-items", ItemListBytes()
                                         .Item(0, 0, 200, 200, 8, "!RadioGroup[('grup')('ctrl')()]")
                                         .Item(10, 10, 30, 30, 8, "!Background[('one' plate)]")
                                         .Item(10, 40, 30, 60, 8, "!Background[('two' plate)]")
                                         .Bytes()));
  seeds.push_back(ItemList("empty", {0xFF, 0xFF}));
  return seeds;
}

}  // namespace

const FuzzSeedRegistration kRegistration("fuzz_view_description", MakeSeeds);
