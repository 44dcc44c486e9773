#include "rtas/views/ViewRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "rtas/views/CButtonView.h"
#include "rtas/views/CCheckBoxView.h"
#include "rtas/views/CDialControlEditor.h"
#include "rtas/views/CItemListView.h"
#include "rtas/views/CPictureView.h"
#include "rtas/views/CProcessControlView.h"
#include "rtas/views/CRadioButtonView.h"
#include "rtas/views/CRadioGroupControlEditor.h"
#include "rtas/views/CScrollControlView.h"
#include "rtas/views/CSliderControlEditor.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/CTextControlEditor.h"
#include "rtas/views/CTextPopupControlEditor.h"
#include "rtas/views/CViewPopupControlEditor.h"

TEST(ViewRegistry, EachStandardKindMakesItsClass) {
  struct Kind {
    const char* name;
    const std::type_info& type;
  };
  const Kind kinds[] = {
      {"Background", typeid(CCustomView)},
      {"ItemList", typeid(CItemListView)},
      {"ProcessControl", typeid(CProcessControlView)},
      {"ScrollControl", typeid(CScrollControlView)},
      {"Slider", typeid(CSliderControlEditor)},
      {"Dial", typeid(CDialControlEditor)},
      {"TextEditor", typeid(CTextControlEditor)},
      {"RadioGroup", typeid(CRadioGroupControlEditor)},
      {"TextPopup", typeid(CTextPopupControlEditor)},
      {"Button", typeid(CButtonView)},
      {"CheckBox", typeid(CCheckBoxView)},
      {"RadioButton", typeid(CRadioButtonView)},
      {"StaticText", typeid(CStaticTextView)},
      {"Picture", typeid(CPictureView)},
      {"ViewPopup", typeid(CViewPopupControlEditor)},
  };
  for (const Kind& kind : kinds) {
    uint16_t category = 0;
    ViewNameValue value = 0;
    ASSERT_TRUE(LookupViewName(kind.name, &category, &value)) << kind.name;
    EXPECT_EQ(category, kViewClass) << kind.name;
    std::unique_ptr<CPlugInView> view(reinterpret_cast<ViewCreator>(value)());
    ASSERT_NE(view, nullptr) << kind.name;
    const CPlugInView& made = *view;
    EXPECT_EQ(typeid(made), kind.type) << kind.name;
  }
}

TEST(ViewRegistry, KeywordsAndMacrosCarryTheirNumbers) {
  const char* keywords[] = {"left",      "right",    "top",      "bottom",       "center",   "default",
                            "reverse",   "cyclical", "plate",    "normal",       "clicked",  "disabled",
                            "inversePlate", "editable", "horizontal", "vertical", "round",   "square",
                            "frame",     "green",    "darkGreen", "red",         "darkRed",  "blue",
                            "darkBlue",  "amber",    "darkAmber", "ASCII"};
  ASSERT_EQ(sizeof keywords / sizeof keywords[0], 28u);
  for (int i = 0; i < 28; ++i) {
    uint16_t category = 0;
    ViewNameValue value = -1;
    ASSERT_TRUE(LookupViewName(keywords[i], &category, &value)) << keywords[i];
    EXPECT_EQ(category, kViewKeyword) << keywords[i];
    EXPECT_EQ(value, i) << keywords[i];
  }
  const char* macros[] = {"getList", "getString", "shortVersion", "longVersion"};
  for (int i = 0; i < 4; ++i) {
    uint16_t category = 0;
    ViewNameValue value = -1;
    ASSERT_TRUE(LookupViewName(macros[i], &category, &value)) << macros[i];
    EXPECT_EQ(category, kViewMacro) << macros[i];
    EXPECT_EQ(value, i) << macros[i];
  }
}

TEST(ViewRegistry, NamesAreExactAndRegisteringAgainReplaces) {
  EXPECT_FALSE(LookupViewName("background", nullptr, nullptr));
  EXPECT_FALSE(LookupViewName("Background ", nullptr, nullptr));
  EXPECT_FALSE(LookupViewName("", nullptr, nullptr));

  RegisterViewKeyword("testReplaced", kViewKeyword, 3);
  RegisterViewKeyword("testReplaced", kViewMacro, 9);
  uint16_t category = 0;
  ViewNameValue value = 0;
  ASSERT_TRUE(LookupViewName("testReplaced", &category, &value));
  EXPECT_EQ(category, kViewMacro);
  EXPECT_EQ(value, 9);
}
