#include "platform/XmlDocument.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/XmlFieldReader.h"

namespace orvalen {
namespace {

XmlNode ParseRoot(XmlDocument& doc, std::string_view text) {
  EXPECT_TRUE(doc.Parse(text)) << doc.Error();
  return *doc.Root();
}

// The program initialises libxml2 once, then its worker threads parse at
// the same time as the window's thread (run under ThreadSanitizer too).
TEST(XmlDocumentTest, ThreadsParseTheirOwnDocumentsAtOnce) {
  InitialiseXmlLibrary();
  InitialiseXmlLibrary();  // later calls do nothing
  std::vector<std::thread> threads;
  std::vector<int> parsed(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &parsed] {
      for (int i = 0; i < 200; ++i) {
        XmlDocument doc;
        const std::string text = "<?xml version=\"1.0\" encoding=\"GBK\"?><r><n>" +
                                 std::to_string(t * 1000 + i) + "</n></r>";
        if (doc.Parse(text) && doc.Root()->Find("n")->Text() == std::to_string(t * 1000 + i)) {
          ++parsed[t];
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(parsed, std::vector<int>(4, 200));
}

TEST(XmlDocumentTest, BlankTextBetweenElementsIsDroppedButCommentsCount) {
  XmlDocument doc;
  const XmlNode root =
      ParseRoot(doc, "<rsp>\n  <a>1</a>\n  <!-- note -->\n  <b> </b>\n</rsp>\n<!-- trailer -->");
  EXPECT_EQ(root.ChildCount(), 3u);
  EXPECT_EQ(root.Child(0)->Name(), "a");
  EXPECT_FALSE(root.Child(1)->IsElement());
  EXPECT_EQ(root.Child(2)->Text(), " ");  // a blank that is the only content stays
  EXPECT_FALSE(root.Child(3).has_value());
}

TEST(XmlDocumentTest, TextRulesForEmptyCdataAndMixedContent) {
  XmlDocument doc;
  const XmlNode root = ParseRoot(doc,
                                 "<r><empty/><plain>a &amp; b</plain>"
                                 "<cdata>\n  <![CDATA[<span class=H>MP3</span>]]>\n</cdata>"
                                 "<nested><x>1</x></nested><mixed>a<!--c-->b</mixed></r>");
  EXPECT_EQ(root.Find("empty")->Text(), "");
  EXPECT_EQ(root.Find("plain")->Text(), "a & b");
  EXPECT_EQ(root.Find("cdata")->Text(), "<span class=H>MP3</span>");
  EXPECT_FALSE(root.Find("nested")->Text().has_value());
  EXPECT_FALSE(root.Find("mixed")->Text().has_value());
}

// Elements and attributes by whole, case-sensitive names; the first counts;
// a comment has neither.
TEST(XmlDocumentTest, FindAndAttributeMatchWholeCaseSensitiveNames) {
  XmlDocument doc;
  const XmlNode root = ParseRoot(doc,
                                 "<r list=\"true\" q='a &amp; b' e=\"\"><!--x-->"
                                 "<shop_commission.rate>1</shop_commission.rate><A>up</A><a>1</a>"
                                 "<a>2</a></r>");
  EXPECT_EQ(root.Find("shop_commission.rate")->Text(), "1");
  EXPECT_EQ(root.Find("a")->Text(), "1");
  EXPECT_EQ(root.Find("A")->Text(), "up");
  EXPECT_FALSE(root.Find("missing"));
  EXPECT_FALSE(root.Child(0)->Find("x"));
  EXPECT_EQ(root.Attribute("list"), "true");
  EXPECT_EQ(root.Attribute("q"), "a & b");
  EXPECT_EQ(root.Attribute("e"), "");
  EXPECT_FALSE(root.Attribute("List"));
  EXPECT_FALSE(root.Child(0)->Attribute("list"));
}

TEST(XmlDocumentTest, DecodesTheDeclaredEncoding) {
  XmlDocument doc;
  // 中文 in GBK and in GB2312 is D6 D0 CE C4.
  for (const char* enc : {"GBK", "GB2312", "gbk"}) {
    const std::string text = std::string("<?xml version=\"1.0\" encoding=\"") + enc +
                             "\"?><r><t>\xD6\xD0\xCE\xC4</t></r>";
    EXPECT_EQ(ParseRoot(doc, text).Find("t")->Text(), "中文") << enc;
  }
  EXPECT_EQ(ParseRoot(doc, "<r><t>中文</t></r>").Find("t")->Text(), "中文");
}

TEST(XmlDocumentTest, RejectsWhatIsNotWellFormedAndEmptiesTheDocument) {
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse("<r/>"));
  for (const char* bad : {"", "not xml", "<r><a></r>", "<r/><r/>", "<?xml version=\"1.0\"?>"}) {
    EXPECT_FALSE(doc.Parse(bad)) << bad;
    EXPECT_FALSE(doc.Root().has_value());
    EXPECT_FALSE(doc.Error().empty());
  }
}

TEST(XmlDocumentTest, HostileDocumentsFailQuickly) {
  std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
  std::string prev = "a";
  for (char c = 'b'; c <= 'k'; ++c) {
    bomb += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 10; ++i) bomb += "&" + prev + ";";
    bomb += "\">";
    prev = std::string(1, c);
  }
  bomb += "]><r><t>&k;</t></r>";
  std::string deep;
  for (int i = 0; i < 1000000; ++i) deep += "<a>";
  const std::string external =
      "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r><t>&x;</t></r>";

  XmlDocument doc;
  const auto start = std::chrono::steady_clock::now();
  if (doc.Parse(bomb)) {
    EXPECT_FALSE(doc.Root()->Find("t")->Text().has_value());  // never expanded
  }
  EXPECT_FALSE(doc.Parse(deep));
  if (doc.Parse(external)) {
    EXPECT_FALSE(doc.Root()->Find("t")->Text().has_value());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(XmlDocumentTest, FieldReaderStopsAtTheFirstElementThatIsNotText) {
  XmlDocument doc;
  const XmlNode root = ParseRoot(doc, "<r><a>1</a><b><x/></b><c>3</c></r>");
  std::string a = "old", missing = "old", b = "old", c = "old";
  XmlFieldReader reader;
  reader.Read(root, "a", a);
  reader.Read(root, "missing", missing);
  reader.Read(root, "b", b);
  reader.Read(root, "c", c);
  EXPECT_FALSE(reader.ok());
  EXPECT_NE(reader.error().find("<b>"), std::string::npos);
  EXPECT_EQ(a, "1");
  EXPECT_EQ(missing, "");
  EXPECT_EQ(b, "old");
  EXPECT_EQ(c, "old");

  XmlFieldReader absent_parent;
  absent_parent.Read(std::nullopt, "a", a);
  EXPECT_TRUE(absent_parent.ok());
  EXPECT_EQ(a, "");
}

}  // namespace
}  // namespace orvalen
