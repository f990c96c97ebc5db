#include "app/start/EngineFlags.h"

#include <unistd.h>

#include <QByteArray>

namespace orvalen {
namespace {

void AddFlag(const QByteArray& flag) {
  const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? flag : flags + ' ' + flag);
}

}  // namespace

// Chromium refuses to start its sandbox as root; only then go without it.
void AllowChromiumAsRoot() {
  if (geteuid() != 0) return;
  if (!qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--no-sandbox")) AddFlag("--no-sandbox");
}

void UseProxies(const ProxySettings& proxies) {
  const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (flags.contains("--proxy-") || flags.contains("--no-proxy-server")) return;
  for (const std::string& flag : proxies.ChromiumFlags()) AddFlag(QByteArray::fromStdString(flag));
}

}  // namespace orvalen
