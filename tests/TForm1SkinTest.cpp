// The window under its skins, as the user sees it (rendered pixels), and
// what no skin may change: place, size, text, fonts and visibility of every
// control.
#include <QDebug>
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QMessageBox>
#include <QTemporaryDir>

#include "support/GuiTest.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using orvalen::test::Find;

namespace {

// Every control of the window, by name.
const char* const kControls[] = {
    "Edit2",       "TreeView1", "GroupBox1", "Label1",    "Edit1",       "Label3", "ComboBoxEx1",
    "ComboBoxEx2", "Label6",    "ComboBox3", "Label2",    "ComboBox2",   "Label4", "SpinEdit1",
    "SpinEdit2",   "Button1",   "Button2",   "GroupBox3", "WebBrowser1", "Label5", "Label7"};

// What a skin may not change about one control (a font's weight and slant
// it may): place, size, visibility, family and size of its font, and what
// it says (the text, a combo box's entries and icons, a spin box's value).
QString Describe(QWidget* w, QWidget* window) {
  QString text;
  QDebug out(&text);
  out << w->objectName() << w->geometry() << w->isVisibleTo(window) << w->isEnabled()
      << w->font().family() << w->font().pixelSize();
  for (const char* name : {"text", "currentText", "count", "iconSize", "value"}) {
    out << w->property(name);
  }
  return text;
}

// The share of a widget's pixels within a small distance of `colour`.
double ShareOf(QWidget* w, const QColor& colour) {
  const QImage image = w->grab().toImage();
  int near = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
              std::abs(c.blue() - colour.blue()) <
          40) {
        ++near;
      }
    }
  }
  return static_cast<double>(near) / (image.width() * image.height());
}

QColor Middle(QWidget* w) {
  const QImage image = w->grab().toImage();
  return image.pixelColor(6, image.height() - 6);  // inside the border, away from the text
}

}  // namespace

class TForm1SkinTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TestServer> config_;  // answers nothing: the window opens all the same
  QStringList diagnostics_;
  std::shared_ptr<test::RecordingBrowser> browser_;
  std::shared_ptr<test::RecordingWarnings> warnings_;

  std::unique_ptr<TForm1> Open(const std::string& skin) {
    diagnostics_.clear();
    auto form = test::OpenWindow(config_->Url("/none"), browser_, warnings_, [&](FormServices& s) {
      s.skin = skin;
      // The skin's lines; the configuration answers nothing, which is said too.
      s.diagnostics = [this](const QString& line) {
        if (!line.startsWith(QLatin1String("configuration: "))) diagnostics_ << line;
      };
    });
    if (!test::Await([&] { return !form->SearchRunning(); }, 15000)) qFatal("search ran on");
    return form;
  }
  static QStringList Controls(TForm1& form) {
    QStringList all;
    for (const char* name : kControls) all << Describe(Find<QWidget>(form, name), &form);
    return all;
  }
  static QString HostilePath() {
    return QStringLiteral(ORVALEN_TEST_DATA "/skins/hostile/hostile.qss");
  }

 private slots:
  void initTestCase() { config_ = std::make_unique<test::TestServer>(); }
  void cleanupTestCase() { config_.reset(); }

  void choiceComesFromTheOptionThenTheVariable() {
    QCOMPARE(ChooseSkin(std::string("dark"), "none"), std::string("dark"));
    QCOMPARE(ChooseSkin(std::nullopt, "none"), std::string("none"));
    QCOMPARE(ChooseSkin(std::nullopt, nullptr), std::string());
  }

  void builtInSkinIsAppliedAndNoneIsTheToolkitsLook() {
    auto plain = Open("none");
    QVERIFY(plain->styleSheet().isEmpty());
    auto skinned = Open("");
    QVERIFY(diagnostics_.isEmpty());
    QVERIFY(!skinned->styleSheet().isEmpty());
    // The search button in the results page's orange-red, white text.
    QPushButton* button = Find<QPushButton>(*skinned, "Button1");
    QVERIFY2(ShareOf(button, QColor(0xFF, 0x40, 0x08)) > 0.3, qPrintable(Middle(button).name()));
    QVERIFY(ShareOf(Find<QPushButton>(*plain, "Button1"), QColor(0xFF, 0x40, 0x08)) < 0.01);
    QVERIFY(Middle(Find<QWidget>(*skinned, "GroupBox1")) !=
            Middle(Find<QWidget>(*plain, "GroupBox1")));
  }

  // Without a skin the window takes the desktop's colours, a dark theme's
  // too: the tree, the category name, the buttons and the footer links
  // (as links) read in the colours the desktop gives, none set by the program.
  void noneTakesTheDesktopsOwnColours() {
    const QPalette kept = QApplication::palette();
    QPalette dark(QColor(0x33, 0x33, 0x33), QColor(0x2B, 0x2B, 0x2B));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::Link, QColor(0x8A, 0xB4, 0xF8));
    QApplication::setPalette(dark);
    auto form = Open("none");
    const std::pair<const char*, QPalette::ColorRole> colours[] = {
        {"TreeView1", QPalette::Text},     {"Edit2", QPalette::Text},
        {"Button1", QPalette::ButtonText}, {"Button2", QPalette::ButtonText},
        {"Label5", QPalette::Link},        {"Label7", QPalette::Link}};
    for (const auto& [name, role] : colours) {
      QWidget* w = Find<QWidget>(*form, name);
      QCOMPARE(w->palette().color(role), dark.color(role));
    }
    for (const char* name : {"Label5", "Label7"}) {
      QCOMPARE(Find<QWidget>(*form, name)->foregroundRole(), QPalette::Link);
    }
    // The category tree drawn in the theme's text colour, never a dark blue.
    auto* tree = Find<QWidget>(*form, "TreeView1");
    QVERIFY(ShareOf(tree, dark.color(QPalette::Text)) > 0.005);
    QCOMPARE(ShareOf(tree, QColor(0x00, 0x54, 0xE3)), 0.0);
    QApplication::setPalette(kept);
  }

  // What a control is: its text, place, size, font, visibility. Whether its
  // colours are readable is the skin's business (see SkinSheet).
  void noSkinMovesResizesOrRetextsAControl() {
    auto unskinned = Open("none");
    const QStringList plain = Controls(*unskinned);
    // The view fills its frame less fixed margins, whatever the frame's look.
    const QSize frame = Find<QWidget>(*unskinned, "GroupBox3")->size();
    QCOMPARE(Find<QWidget>(*unskinned, "WebBrowser1")->geometry(),
             QRect(3, 7, frame.width() - 6, frame.height() - 10));
    // The shipped skins as built in and as the installed files; one that tries everything.
    const std::string shipped_dark = ORVALEN_SKINS_DIR "/dark/dark.qss";
    for (const std::string& skin :
         {std::string(), std::string("dark"), std::string("contrast"), shipped_dark}) {
      auto form = Open(skin);
      QCOMPARE(Controls(*form), plain);
      QVERIFY2(diagnostics_.isEmpty(), qPrintable(diagnostics_.join('\n')));
    }
    QCOMPARE(Controls(*Open(HostilePath().toStdString())), plain);
  }

  // A skin's colours reach the results page; the built-in skin leaves the
  // page's own.
  void skinsColourTheResultsPage() {
    const struct {
      const char* skin;
      const char* background;
      const char* link;
    } cases[] = {{"", "rgb(250, 255, 245)", "rgb(0, 153, 255)"},
                 {"dark", "rgb(28, 33, 30)", "rgb(94, 184, 255)"},
                 {"contrast", "rgb(0, 0, 0)", "rgb(255, 255, 0)"}};
    for (const auto& c : cases) {
      auto form = Open(c.skin);
      QWebEnginePage* page = Find<QWebEngineView>(*form, "WebBrowser1")->page();
      const QString script = QStringLiteral(
          "(function () { var a = document.createElement('a'); a.href = 'http://next/';"
          "document.body.appendChild(a);"
          "var r = [getComputedStyle(document.body).backgroundColor, getComputedStyle(a).color];"
          "a.remove(); return r.join(' / '); })()");
      QTRY_COMPARE_WITH_TIMEOUT(
          test::Evaluate(page, script).toString(),
          u"%1 / %2"_s.arg(QLatin1String(c.background), QLatin1String(c.link)), 15000);
    }
  }

  void partsFromOutsideTheSkinsFolderAreLeftOut() {
    auto form = Open(HostilePath().toStdString());
    QVERIFY(!form->styleSheet().contains(u"qproperty"_s));
    QVERIFY(!form->styleSheet().contains(u"/etc/hostname"_s));
    QVERIFY(!form->styleSheet().contains(u"evil"_s));
    QVERIFY2(diagnostics_.size() >= 10, qPrintable(diagnostics_.join('\n')));
    QVERIFY(diagnostics_.filter(u"/etc/hostname"_s).size() == 2);
    // What may stay, stays: the labels' colour.
    QVERIFY(ShareOf(Find<QLabel>(*form, "Label1"), QColor(0xFF, 0, 0)) > 0.02);
  }

  void imagesResolveInTheSkinsFolderWhereverTheProgramRuns() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"skin"_s));
    QImage inside(8, 8, QImage::Format_RGB32), outside(8, 8, QImage::Format_RGB32);
    inside.fill(QColor(0, 200, 0));
    outside.fill(QColor(255, 0, 255));
    QVERIFY(inside.save(dir.filePath(u"skin/inside.png"_s)));
    QVERIFY(outside.save(dir.filePath(u"outside.png"_s)));
    QFile sheet(dir.filePath(u"skin/test.qss"_s));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write(
        "#Button1 { border: none; background-image: url(inside.png); }\n"
        "#Button2 { border: none; background-image: url(../outside.png); }\n");
    sheet.close();
    const QString elsewhere = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    auto form = Open(sheet.fileName().toStdString());
    QDir::setCurrent(elsewhere);
    QCOMPARE(diagnostics_.size(), 1);
    QVERIFY(diagnostics_.first().contains(u"../outside.png"_s));
    QVERIFY(ShareOf(Find<QPushButton>(*form, "Button1"), QColor(0, 200, 0)) > 0.5);
    QVERIFY(ShareOf(Find<QPushButton>(*form, "Button2"), QColor(255, 0, 255)) < 0.01);
  }

  void aBrokenSkinGivesOneWarningAndTheBuiltInLook() {
    const QImage built_in = Find<QWidget>(*Open(""), "GroupBox1")->grab().toImage();
    QTemporaryDir dir;
    QFile broken(dir.filePath(u"broken.qss"_s));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("QPushButton { color: red;\nQLabel { color: blue; }\n");
    broken.close();
    for (const QString& file : {broken.fileName(), dir.filePath(u"missing.qss"_s)}) {
      auto form = Open(file.toStdString());
      QCOMPARE(diagnostics_.size(), 1);
      QVERIFY2(diagnostics_.first().contains(file), qPrintable(diagnostics_.first()));
      QVERIFY(diagnostics_.first().contains(u"using the built-in skin"_s));
      QCOMPARE(Find<QWidget>(*form, "GroupBox1")->grab().toImage(), built_in);
    }
  }

  // Without a font for Chinese, which the suite runs again with fontconfig
  // limited to Latin fonts, the window says so once on each channel, in
  // words any font draws, naming the package; with one, it says nothing.
  void aMissingChineseFontIsSaid() {
    const bool missing = QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
    QCOMPARE(missing, qEnvironmentVariableIsSet("ORVALEN_TEST_NO_CHINESE_FONT"));
    auto form = Open("");
    const QStringList said = diagnostics_.filter(u"the package fonts-wqy-microhei"_s);
    QCOMPARE(said.size(), missing ? 1 : 0);
    QTRY_COMPARE(warnings_->texts.filter(u"fonts-wqy-microhei"_s).size(), missing ? 1 : 0);
    for (const QString& text : said + warnings_->texts.filter(u"fonts-wqy-microhei"_s)) {
      QVERIFY2(std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }),
               qPrintable(text));
    }
  }

  void disabledControlsFooterHoverAndMessageBoxesAreSkinned() {
    auto form = Open("");
    QPushButton* button = Find<QPushButton>(*form, "Button1");
    Find<QWidget>(*form, "GroupBox1")->setEnabled(false);  // as during a search
    QVERIFY(ShareOf(button, QColor(0xE6, 0xEB, 0xE3)) > 0.5);
    Find<QWidget>(*form, "GroupBox1")->setEnabled(true);

    QLabel* link = Find<QLabel>(*form, "Label5");
    QVERIFY(ShareOf(link, QColor(0x00, 0x99, 0xFF)) > 0.01);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(link, &enter);
    QVERIFY(ShareOf(link, QColor(0xFC, 0x61, 0x03)) > 0.01);
    QVERIFY(ShareOf(link, QColor(0x00, 0x99, 0xFF)) < 0.001);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    QVERIFY(ShareOf(link, QColor(0xFC, 0x61, 0x03)) < 0.001);

    QMessageBox box(QMessageBox::Warning, form->windowTitle(), u"没有找到相关商品"_s,
                    QMessageBox::Ok, form.get());
    box.show();
    QCOMPARE(Middle(&box), QColor(0xEE, 0xF5, 0xEA));
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1SkinTest>(argc, argv);
}

#include "TForm1SkinTest.moc"
