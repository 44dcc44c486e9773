#include "framework/PresetXML.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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

TEST(PresetXML, TextsInALegacyCodePageComeBackByteForByte) {
  // Found by fuzzing: read as UTF-8, a Latin-1 byte swallowed the quote or
  // the '&' after it, so the document was refused or read back changed.
  const char* const texts[] = {
      "Caf\xE9",           "Caf\xE9 & Bar", "\xE9t\xE9 <live>", "Na\xEFve \"dry\"",
      "Caf\xC3\xA9 utf-8", "\xF5",          "\xE7",
  };
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("brimlow-preset-xml-" + std::to_string(::getpid()) + ".tps")).string();
  for (const char* text : texts) {
    PresetXML writer;
    writer.Begin("Kestrelbay", "Brimlow", "3.2.3", text, text);
    writer.AddParam("P", 1.0);
    ASSERT_TRUE(writer.SaveFile(path.c_str())) << text;
    PresetXML fromText, fromFile;
    for (PresetXML* reader : {&fromText, &fromFile}) {
      const bool parsed = reader == &fromText ? reader->Parse(writer.Print().c_str()) : reader->LoadFile(path.c_str());
      ASSERT_TRUE(parsed) << text;
      ASSERT_TRUE(reader->Check("Kestrelbay", "Brimlow")) << text;
      EXPECT_EQ(reader->GetPresetName(), text);
      EXPECT_EQ(reader->GetData(), text);
    }
  }
  std::remove(path.c_str());

  // A byte-order mark in front of such text is still skipped.
  PresetDocument doc;
  doc.presetTag = "<Preset name=\"Caf\xE9\">";
  PresetXML reader;
  ASSERT_TRUE(reader.Parse(("\xEF\xBB\xBF" + doc.Text()).c_str()));
  ASSERT_TRUE(reader.Check("Kestrelbay", "Brimlow"));
  EXPECT_EQ(reader.GetPresetName(), "Caf\xE9");
}

TEST(PresetXML, DataTextKeepsItsBlanks) {
  // The parser condenses the blanks of element text; the "Data" text is a
  // preset's name, which may have doubled, leading or trailing blanks.
  const char* const texts[] = {" Lead", "Tail ", "Bass  Boost", "   ", " tab\there  \nline ", "a ]] > b  ",
                               "Caf\xE9  bar"};
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("brimlow-data-blanks-" + std::to_string(::getpid()) + ".tps")).string();
  for (const char* text : texts) {
    PresetXML writer;
    writer.Begin("Kestrelbay", "Brimlow", "3.2.3", text, "Name");
    writer.AddParam("P", 1.0);
    ASSERT_TRUE(writer.SaveFile(path.c_str())) << text;
    PresetXML fromText, fromFile;
    ASSERT_TRUE(fromText.Parse(writer.Print().c_str())) << text;
    ASSERT_TRUE(fromFile.LoadFile(path.c_str())) << text;
    for (PresetXML* reader : {&fromText, &fromFile}) {
      ASSERT_TRUE(reader->Check("Kestrelbay", "Brimlow")) << text;
      EXPECT_EQ(reader->GetData(), text);
    }
  }
  std::remove(path.c_str());

  // Text whose blanks survive is written as it always was.
  PresetXML writer;
  writer.Begin("Kestrelbay", "Brimlow", "3.2.3", "Master:Telephone & more", "Name");
  writer.AddParam("P", 1.0);
  EXPECT_NE(writer.Print().find("<Data>Master:Telephone &amp; more</Data>"), std::string::npos);
}

TEST(PresetXML, FileLineEndsReadAsTheyAlwaysHave) {
  // CR LF and a lone CR both read as LF, inside attribute values too.
  PresetDocument doc;
  doc.presetTag = "<Preset name=\"NAME\">";
  std::string text;
  for (char c : doc.Text()) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  text.replace(text.find("NAME"), 4, "a\r\nb\rc");
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("brimlow-line-ends-" + std::to_string(::getpid()) + ".tps")).string();
  { std::ofstream(path, std::ios::binary) << text; }
  PresetXML reader;
  ASSERT_TRUE(reader.LoadFile(path.c_str()));
  std::remove(path.c_str());
  ASSERT_TRUE(reader.Check("Kestrelbay", "Brimlow"));
  EXPECT_EQ(reader.GetPresetName(), "a\nb\nc");
}
