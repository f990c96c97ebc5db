// orvalen: the desktop shopping browser.
#include <unistd.h>

#include <QApplication>
#include <chrono>

#include "app/TForm1.h"
#include "platform/XmlDocument.h"

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  orvalen::InitialiseXmlLibrary();  // before the search worker parses
  // Chromium refuses to start its sandbox as root; only then go without it.
  if (geteuid() == 0) {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--no-sandbox"))
      qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvalen"));
  orvalen::FormServices services;
  services.started = started;
  orvalen::TForm1 form(std::move(services));
  form.show();
  return QApplication::exec();
}
