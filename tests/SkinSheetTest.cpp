// Skin style sheets as the window receives them: what parses, what a skin
// may set, and where its images may come from.
#include "app/skin/core/SkinSheet.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace orvalen {
namespace {

namespace fs = std::filesystem;

// A skin folder in a fresh temporary tree: TREE/skin, beside TREE/other.
class SkinSheetTest : public ::testing::Test {
 protected:
  SkinSheetTest() : tree(fs::temp_directory_path() / ("skin-sheet-" + std::to_string(::getpid()))) {
    fs::remove_all(tree);
    fs::create_directories(tree / "skin" / "images");
    fs::create_directories(tree / "other");
    folder = (tree / "skin").string();
  }
  ~SkinSheetTest() override { fs::remove_all(tree); }

  SkinSheetResult Check(std::string_view text) const { return CheckSkinSheet(text, folder); }
  // A sheet's content without its layout, which is the writer's business.
  static std::string Squeezed(std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
    return text;
  }

  fs::path tree;
  std::string folder;
};

TEST_F(SkinSheetTest, LooksAreKeptAndCommentsDropped) {
  const SkinSheetResult r = Check(
      "/* a skin */ QPushButton:hover, #Button1 { background-color: qlineargradient(x1: 0, y1: 0, "
      "x2: 0, y2: 1, stop: 0 #FFF, stop: 1 #EEE); BORDER: 1px solid #ccc; color: red }\n"
      "QComboBox::down-arrow { width: 9px; height: 9px; }");
  ASSERT_TRUE(r.parsed) << r.error;
  EXPECT_TRUE(r.ignored.empty());
  for (const char* kept : {"#Button1", "stop: 1 #EEE)", "border: 1px solid #ccc", "color: red",
                           "QComboBox::down-arrow", "height: 9px"}) {
    EXPECT_NE(r.sheet.find(kept), std::string::npos) << kept;
  }
  EXPECT_EQ(r.sheet.find("a skin"), std::string::npos);
}

TEST_F(SkinSheetTest, WhatAControlIsStaysTheWindows) {
  const SkinSheetResult r = Check(
      "QLabel { qproperty-text: \"x\"; qproperty-visible: false; color: blue;\n"
      "  min-width: 900px; width: 3px; max-height: 1px; font-size: 40px; font: bold 30px; "
      "font-family: Courier; icon-size: 1px; font-weight: bold; }\n"
      "QComboBox, QComboBox::drop-down { width: 40px; }\n"
      "QSpinBox::up-button { width: 14px; top: 1px; }");
  ASSERT_TRUE(r.parsed) << r.error;
  EXPECT_EQ(Squeezed(r.sheet),
            "QLabel{color:blue;font-weight:bold;}QSpinBox::up-button{width:14px;top:1px;}");
  ASSERT_EQ(r.ignored.size(), 10u);
  EXPECT_EQ(r.ignored[0], "line 1: qproperty-text: \"x\": skins may not set qproperty-text");
  EXPECT_EQ(r.ignored[2].substr(0, 7), "line 2:");
  EXPECT_EQ(r.ignored[9], "line 3: width: 40px: skins may not set width");  // not only arrows
}

TEST_F(SkinSheetTest, ImagesComeFromTheSkinsFolderOrTheProgram) {
  fs::create_symlink(tree / "other", tree / "skin" / "escape");
  const SkinSheetResult r = Check(
      "a { image: url(images/arrow.png); }\n"
      "b { image: url( \"./images/../arrow.png\" ); }\n"
      "c { image: url(" +
      folder +
      "/inside.png); }\n"
      "d { image: url(:/skins/light/arrow-down.png); border-image: url(qrc:/x.png) 4; }\n"
      "e { image: url(../other/x.png); }\n"
      "f { image: url(/etc/hostname); }\n"
      "g { image: url(file:///etc/hostname); }\n"
      "h { background: url(http://example.com/x.png) #fff; }\n"
      "i { image: url(escape/x.png); }\n");
  ASSERT_TRUE(r.parsed) << r.error;
  // Inside the folder (through its real path) or the program's resources.
  const std::string real = "url(\"" + fs::canonical(folder).string();
  for (const std::string& kept :
       {real + "/images/arrow.png\")", real + "/arrow.png\")", real + "/inside.png\")",
        std::string("url(\":/skins/light/"), std::string("border-image: url(\":/x.png\") 4")}) {
    EXPECT_NE(r.sheet.find(kept), std::string::npos) << kept;
  }
  for (const char* gone : {"e {", "f {", "g {", "h {", "i {"}) {
    EXPECT_EQ(r.sheet.find(gone), std::string::npos) << gone;  // left out whole
  }
  ASSERT_EQ(r.ignored.size(), 5u);
  EXPECT_EQ(r.ignored[0],
            "line 5: image: url(../other/x.png): '../other/x.png' is outside the skin's folder "
            "and the program");
  EXPECT_NE(r.ignored[4].find("escape/x.png"), std::string::npos);  // a link out of the folder
}

TEST_F(SkinSheetTest, ABuiltInSkinReadsFromItsResourceFolder) {
  const SkinSheetResult r = CheckSkinSheet(
      "a { image: url(arrow.png); } b { image: url(../dark/arrow.png); }", ":/skins/light");
  ASSERT_TRUE(r.parsed);
  EXPECT_EQ(Squeezed(r.sheet), "a{image:url(\":/skins/light/arrow.png\");}");
  EXPECT_EQ(r.ignored.size(), 1u);
}

TEST_F(SkinSheetTest, WhatDoesNotParseSaysWhere) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a { color: red;\nb { color: blue; }", "line 2: '{' inside a rule"},
      {"a { color: red; }\n}", "line 2: '}' outside a rule"},
      {"a { color: red; }\nb { color: blue;", "line 2: a rule without its '}'"},
      {"a { color: red; }\n\n/* open", "line 3: a comment without its end"},
      {"a { image: url(\"x.png); }", "line 1: a string without its end"},
      {"\n a { color red; }", "line 2: 'color red' is not a declaration"},
      {"{ color: red; }", "line 1: a rule without a selector"},
      {"color: red;", "line 1: ';' outside a rule"},
      {"a", "line 1: a selector without its rule"},
  };
  for (const auto& [text, error] : cases) {
    const SkinSheetResult r = Check(text);
    EXPECT_FALSE(r.parsed) << text;
    EXPECT_EQ(r.error, error) << text;
  }
  EXPECT_TRUE(Check("").parsed);  // an empty skin is a skin that changes nothing
  EXPECT_TRUE(Check("a { }").parsed);
}

// The results page takes colours, and nothing that could hide or move what
// it shows.
TEST_F(SkinSheetTest, TheResultsPageTakesColoursOnly) {
  const SkinSheetResult r = Check(
      "ResultsPage { color: #fff; background-color: rgb(0, 0, 0); link-color: yellow;\n"
      "  price-color: #FF3300; border-color: url(x.png); link-hover-color: transparent;\n"
      "  display: none; font-size: 1px; background-color: expression(x) }\n"
      "QPushButton { color: red; }");
  EXPECT_EQ(Squeezed(r.page_css),
            "body{color:#fff;}body{background-color:rgb(0,0,0);}a{color:yellow;}"
            ".yuan{color:#FF3300;}");
  EXPECT_EQ(r.ignored.size(), 5u);
  EXPECT_EQ(r.sheet.find("ResultsPage"), std::string::npos);
  EXPECT_NE(r.sheet.find("QPushButton"), std::string::npos);
  EXPECT_TRUE(Check("QPushButton { color: red; }").page_css.empty());
}

}  // namespace
}  // namespace orvalen
