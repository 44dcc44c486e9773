#include "rtas/views/ViewRegistry.h"

#include <map>

#include "rtas/views/CButtonView.h"
#include "rtas/views/CCheckBoxView.h"
#include "rtas/views/CDialControlEditor.h"
#include "rtas/views/CRadioGroupControlEditor.h"
#include "rtas/views/CSliderControlEditor.h"
#include "rtas/views/CTextControlEditor.h"
#include "rtas/views/CTextPopupControlEditor.h"
#include "rtas/views/CViewPopupControlEditor.h"
#include "rtas/views/CCustomView.h"
#include "rtas/views/CItemListView.h"
#include "rtas/views/CPictureView.h"
#include "rtas/views/CProcessControlView.h"
#include "rtas/views/CRadioButtonView.h"
#include "rtas/views/CScrollControlView.h"
#include "rtas/views/CStaticTextView.h"

namespace {

struct Entry {
  uint16_t category;
  ViewNameValue value;
};

typedef std::map<std::string, Entry> Registry;

Registry& RawRegistry() {
  static Registry registry;
  return registry;
}

// The standard names go in when the table is first touched, so that no
// registration or look-up depends on the order of static initialisers.
Registry& TheRegistry() {
  static const bool filled = (RegisterStandardViews(), true);
  (void)filled;
  return RawRegistry();
}

template <class View>
CPlugInView* Create() {
  return new View;
}

void Put(const std::string& name, uint16_t category, ViewNameValue value) {
  RawRegistry()[name] = Entry{category, value};
}

void PutClass(const std::string& name, ViewCreator creator) {
  Put(name, kViewClass, reinterpret_cast<ViewNameValue>(creator));
}

}  // namespace

void RegisterViewClass(const std::string& name, ViewCreator creator) {
  TheRegistry();
  PutClass(name, creator);
}

void RegisterViewKeyword(const std::string& name, uint16_t category, ViewNameValue value) {
  TheRegistry();
  Put(name, category, value);
}

void RegisterStandardViews() {
  PutClass("Background", Create<CCustomView>);
  PutClass("ItemList", Create<CItemListView>);
  PutClass("ProcessControl", Create<CProcessControlView>);
  PutClass("ScrollControl", Create<CScrollControlView>);
  PutClass("Slider", Create<CSliderControlEditor>);
  PutClass("Dial", Create<CDialControlEditor>);
  PutClass("TextEditor", Create<CTextControlEditor>);
  PutClass("RadioGroup", Create<CRadioGroupControlEditor>);
  PutClass("TextPopup", Create<CTextPopupControlEditor>);
  PutClass("Button", Create<CButtonView>);
  PutClass("CheckBox", Create<CCheckBoxView>);
  PutClass("RadioButton", Create<CRadioButtonView>);
  PutClass("StaticText", Create<CStaticTextView>);
  PutClass("Picture", Create<CPictureView>);
  PutClass("ViewPopup", Create<CViewPopupControlEditor>);

  static const char* const kKeywords[] = {
      "left",     "right",   "top",       "bottom",       "center",   "default",    "reverse",
      "cyclical", "plate",   "normal",    "clicked",      "disabled", "inversePlate", "editable",
      "horizontal", "vertical", "round",  "square",       "frame",    "green",      "darkGreen",
      "red",      "darkRed", "blue",      "darkBlue",     "amber",    "darkAmber",  "ASCII",
  };
  for (int i = 0; i < static_cast<int>(sizeof kKeywords / sizeof kKeywords[0]); ++i) Put(kKeywords[i], kViewKeyword, i);

  static const char* const kMacros[] = {"getList", "getString", "shortVersion", "longVersion"};
  for (int i = 0; i < 4; ++i) Put(kMacros[i], kViewMacro, i);
}

bool LookupViewName(const std::string& name, uint16_t* category, ViewNameValue* value) {
  const Registry& registry = TheRegistry();
  auto it = registry.find(name);
  if (it == registry.end()) return false;
  if (category) *category = it->second.category;
  if (value) *value = it->second.value;
  return true;
}
