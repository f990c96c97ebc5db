// Qt's own texts in the user's language: the button of the window's
// warning box, read from the box as it is shown.
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/form/QtWarningBox.h"
#include "app/start/ToolkitWords.h"
#include "support/GuiTest.h"

using namespace orvalen;
using namespace Qt::StringLiterals;

namespace {

// The buttons of the warning box the window shows, closed once read.
QStringList ShownButtons() {
  QStringList texts;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    for (QAbstractButton* button : box->buttons()) texts << button->text();
    box->accept();
  });
  QtWarningBox().Warn(nullptr, u"提示"_s, u"无法读取配置"_s);
  return texts;
}

}  // namespace

class ToolkitWordsTest : public QObject {
  Q_OBJECT

 private slots:
  void theButtonsSpeakTheUsersLanguage() {
    {
      const ToolkitWords words(QLocale(u"zh_CN"_s));
      QVERIFY(words.loaded());
      QCOMPARE(ShownButtons(), QStringList{u"确定"_s});
    }
    QCOMPARE(ShownButtons(), QStringList{u"OK"_s});
    const ToolkitWords traditional(QLocale(u"zh_TW"_s));
    QCOMPARE(ShownButtons(), QStringList{u"確定"_s});
  }

  void englishOrAnUnknownLanguageKeepsQtsOwn() {
    const ToolkitWords english(QLocale(u"en_GB"_s));
    const ToolkitWords unknown(QLocale(u"tlh"_s));
    QCOMPARE(ShownButtons(), QStringList{u"OK"_s});
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<ToolkitWordsTest>(argc, argv);
}

#include "ToolkitWordsTest.moc"
