#include "app/start/WindowProgram.h"

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/AppSettings.h"
#include "app/form/AppIcon.h"
#include "app/form/TForm1.h"
#include "app/skin/SkinData.h"
#include "app/start/AssistiveTech.h"
#include "app/start/DisplayCheck.h"
#include "app/start/EngineFlags.h"
#include "app/start/LocalSandbox.h"
#include "app/start/StopSignals.h"
#include "app/start/ToolkitWords.h"
#include "app/start/WindowArgs.h"
#include "config/ConfigLocation.h"
#include "config/SiteConfig.h"

namespace orvalen {
namespace {

int UsageError(const std::string& message) {
  std::cerr << "orvalen: " << message << " (see orvalen --help)\n";
  return 2;
}

int RunWindow(const std::string& config_url, const std::string& skin,
              std::vector<std::string> toolkit_args, const WindowDefaults& defaults) {
  // Qt would abort, and a program started from a menu would just vanish.
  if (const std::string problem = DisplayProblem(CurrentDisplay(toolkit_args)); !problem.empty()) {
    std::cerr << "orvalen: " << problem << '\n';
    return 1;
  }
  AllowChromiumAsRoot();
  UseProxies(ProxySettings::FromEnvironment());
  // QApplication keeps argc and argv for its lifetime.
  std::vector<char*> argv;
  for (std::string& arg : toolkit_args) argv.push_back(arg.data());
  int argc = static_cast<int>(argv.size());
  argv.push_back(nullptr);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv.data());
  QApplication::setApplicationName(QStringLiteral("orvalen"));
  QApplication::setApplicationVersion(QString::fromUtf8(kVersion.data(), kVersion.size()));
  QGuiApplication::setDesktopFileName(QLatin1String(kAppId));
  QApplication::setWindowIcon(AppIcon());
  const ToolkitWords toolkit_words{QLocale()};

  // Before the first web view: the engine reads this once, at its start.
  ExposeWebContentToAssistiveTech(AssistiveTechActive());
  StopSignals stop_signals;
  QObject::connect(&stop_signals, &StopSignals::Received, &app, &QCoreApplication::quit);
  const LocalSandbox sandbox({
      .config_url = config_url,
      .builtin_url = defaults.builtin_config_url,
      .program = QDir(QCoreApplication::applicationDirPath()).filePath(defaults.sandbox_program),
      .ready_limit = std::chrono::seconds(10),
  });
  FormServices services;
  services.started = defaults.started;
  services.config_url = sandbox.ConfigUrl();
  // The built-in addresses follow the user's sandbox to its port.
  if (const auto builtin = LoopbackEndpointOf(defaults.builtin_config_url);
      builtin && sandbox.port() != 0) {
    services.site = SiteAddresses::BuiltIn().OnPort(builtin->port, sandbox.port());
  }
  services.skin = skin;
  TForm1 form(std::move(services));
  form.show();
  return QApplication::exec();
}

}  // namespace

int RunWindowProgram(int argc, char** argv, const WindowDefaults& defaults) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const WindowArgs parsed = ParseWindowArgs(args);
  switch (parsed.action) {
    case WindowArgs::Action::kHelp:
      std::cout << WindowUsage();
      return 0;
    case WindowArgs::Action::kVersion:
      std::cout << "orvalen " << kVersion << '\n';
      return 0;
    case WindowArgs::Action::kUsageError:
      return UsageError(parsed.error);
    case WindowArgs::Action::kRun:
      break;
  }
  const ConfigChoice config =
      ChooseConfigUrl(parsed.config, std::getenv(kConfigUrlVariable), defaults.builtin_config_url);
  if (!config.error.empty()) return UsageError(config.error);
  std::vector<std::string> toolkit_args{argv[0]};
  toolkit_args.insert(toolkit_args.end(), parsed.toolkit_args.begin(), parsed.toolkit_args.end());
  return RunWindow(config.url, ChooseSkin(parsed.skin, std::getenv(kSkinVariable)),
                   std::move(toolkit_args), defaults);
}

}  // namespace orvalen
