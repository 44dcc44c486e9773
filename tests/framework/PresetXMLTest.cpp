#include "framework/PresetXML.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/IParam.h"
#include "tests/framework/PresetDocument.h"

TEST(PresetXML, WrittenDocumentChecksAndReadsBack) {
  PresetXML writer;
  writer.Begin("Kestrel & Bay", "Brim\"low", "3.2.3", "Label <1>", "It's \"named\"");
  writer.AddParam("A<B", 1.5);
  writer.AddParam("", -0.25);
  const std::string text = writer.Print();

  PresetXML reader;
  ASSERT_TRUE(reader.Parse(text.c_str()));
  ASSERT_TRUE(reader.Check("Kestrel & Bay", "Brim\"low"));
  EXPECT_EQ(reader.GetPresetName(), "It's \"named\"");
  EXPECT_TRUE(reader.HasData());
  EXPECT_EQ(reader.GetData(), "Label <1>");

  WDL_PtrList<IParam> params;
  IParam a, b;
  a.InitDouble("A<B", 0, -10, 10, 0.01);
  b.InitDouble("", 0, -10, 10, 0.01);
  params.Add(&a);
  params.Add(&b);
  const std::vector<IParamValue> values = reader.Resolve(params, false);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].mParamIdx, 0);
  EXPECT_EQ(values[0].mValue, 1.5);
  EXPECT_EQ(values[1].mParamIdx, 1);
  EXPECT_EQ(values[1].mValue, -0.25);
  params.Empty(false);
}

TEST(PresetXML, MissingDataIsNoFailureAndEmptyTextsMatchEmpty) {
  PresetXML writer;
  writer.Begin("", "", "", nullptr, nullptr);
  writer.AddParam("P", 1.0);
  PresetXML reader;
  ASSERT_TRUE(reader.Parse(writer.Print().c_str()));
  EXPECT_TRUE(reader.Check("", ""));  // an element with no text reads as ""
  EXPECT_FALSE(reader.HasData());
  EXPECT_EQ(reader.GetPresetName(), "");
  EXPECT_FALSE(reader.Check("Kestrelbay", ""));
}

TEST(PresetXML, NamelessElementGoesOnlyToANamelessParameterAtItsPosition) {
  PresetDocument doc;
  doc.parameter = "<Parameter><Param val=\"1\" /><Param name=\"\" val=\"2\" /><Param val=\"3\" /></Parameter>";
  PresetXML reader;
  ASSERT_TRUE(reader.Parse(doc.Text().c_str()));
  ASSERT_TRUE(reader.Check("Kestrelbay", "Brimlow"));

  IParam named, nameless, unflagged;
  named.InitDouble("N", 0, -10, 10, 1);
  nameless.InitDouble("", 0, -10, 10, 1);
  unflagged.InitDouble("", 0, -10, 10, 1);
  unflagged.SetFlagged(false);
  WDL_PtrList<IParam> params;
  params.Add(&named);
  params.Add(&nameless);
  params.Add(&unflagged);

  std::vector<IParamValue> all = reader.Resolve(params, false);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].mParamIdx, 1);
  EXPECT_EQ(all[0].mValue, 2.0);
  EXPECT_EQ(all[1].mParamIdx, 2);
  EXPECT_EQ(all[1].mValue, 3.0);
  std::vector<IParamValue> flagged = reader.Resolve(params, true);
  ASSERT_EQ(flagged.size(), 1u);
  EXPECT_EQ(flagged[0].mParamIdx, 1);
  params.Empty(false);
}

TEST(PresetXML, NamelessElementSkipsOnlyParametersAFlaggedDocumentLeavesOut) {
  IParam first, left, nameless;
  first.InitDouble("First", 0, -10, 10, 1);
  left.InitDouble("Left out", 0, -10, 10, 1);
  left.SetFlagged(false);
  nameless.InitDouble("", 0, -10, 10, 1);
  WDL_PtrList<IParam> params;
  params.Add(&first);
  params.Add(&left);
  params.Add(&nameless);

  struct Case { const char* parameter; int idx; };
  const Case cases[] = {
      {"<Parameter><Param name=\"First\" val=\"1\" /><Param name=\"\" val=\"5\" /></Parameter>", 2},
      {"<Parameter><Param name=\"\" val=\"5\" /></Parameter>", -1},  // "First" would have come first
      {"<Parameter><Param name=\"Left out\" val=\"1\" /><Param name=\"\" val=\"5\" /></Parameter>", 2},
  };
  for (const Case& c : cases) {
    PresetDocument doc;
    doc.parameter = c.parameter;
    PresetXML reader;
    ASSERT_TRUE(reader.Parse(doc.Text().c_str()));
    ASSERT_TRUE(reader.Check("Kestrelbay", "Brimlow"));
    int idx = -1;
    for (const IParamValue& v : reader.Resolve(params, false)) {
      if (v.mValue == 5.0) idx = v.mParamIdx;
    }
    EXPECT_EQ(idx, c.idx) << c.parameter;
  }
  params.Empty(false);
}

TEST(PresetXML, DeepNestingIsRefusedBeforeTheParserRecurses) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  PresetXML reader;
  EXPECT_FALSE(reader.Parse(deep.c_str()));

  // Comments, CDATA, quoted '>' and siblings do not count as depth.
  PresetDocument doc;
  std::string params = "<Parameter>";
  for (int i = 0; i < 300; ++i) params += "<Param name=\"x>y\" val=\"1\" /><!-- <b> --><![CDATA[<c>]]>";
  doc.parameter = params + "<Param name=\"Param 3\" val=\"2\"><Sub><Sub2/></Sub></Param></Parameter>";
  ASSERT_TRUE(reader.Parse(doc.Text().c_str()));
  EXPECT_TRUE(reader.Check("Kestrelbay", "Brimlow"));
}

TEST(PresetXML, ParsingAnotherTextForgetsTheLastOne) {
  PresetXML reader;
  ASSERT_TRUE(reader.Parse(PresetDocument().Text().c_str()));
  ASSERT_TRUE(reader.Check("Kestrelbay", "Brimlow"));
  EXPECT_FALSE(reader.Parse(""));
  EXPECT_FALSE(reader.Check("Kestrelbay", "Brimlow"));
  EXPECT_EQ(reader.GetPresetName(), "");
}
