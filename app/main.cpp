// Steepo: a tea timer. Start-up: the units, the application, the main window, the alarm
// dialog, the message loop.

#include "DesktopBus.h"
#include "F_Steepo.h"
#include "F_Steepo2.h"
#include "MessageTexts.h"
#include "OrbDialogs.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "Preset.h"
#include "PresetStore.h"
#include "Resources.h"
#include "SleepInhibitor.h"
#include "SteepoConfig.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

namespace {

// The line for a missing display, in the user's language, made before Qt takes over.
QByteArray NoDisplayLine;

// Without a display Qt would abort with a core dump; say what is missing instead and leave
// with an error status.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg)
    return; // the platform plugin's own chatter before its verdict
  Q_UNUSED(message);
  std::fputs(NoDisplayLine.constData(), stderr);
  std::fflush(stderr);
  Platform::ExitNow(1);
}

// The answer to --help or --version on standard output; a failed write (a full disk, a closed
// pipe) is said on stderr and ends with status 1, as the shell's own tools do.
int Answer(const QString& text) {
  QString reason;
  if (Platform::WriteText(stdout, text, &reason))
    return 0;
  Platform::ReportProblem(MessageTexts::Text(MessageTexts::mxWriteError).arg(reason));
  return 1;
}

// The one line for a bus that the start-up's check gave up for this run.
void SayGuard(DesktopBus::TGuard guard) {
  if (guard == DesktopBus::gdSessionSilent)
    Platform::ReportProblem(MessageTexts::Text(MessageTexts::mxBusSilent));
  else if (guard == DesktopBus::gdAccessibilitySilent)
    Platform::ReportProblem(MessageTexts::Text(MessageTexts::mxAccessibilitySilent));
}

} // namespace

int main(int argc, char** argv) {
  Platform::UseParentConsole();
  // Every line comes in the user's language, --help too.
  OrbDialogs::DetectLanguage();
  // --help and --version answer before there is any window, so they need no display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  if (const auto information = Preset::InformationRequest(arguments, QString::fromUtf8(SteepoConfig::VersionText),
                                                          Platform::PresetLocation())) {
    return Answer(*information);
  }

  F_Steepo::InitializeUnit();
  // Before the application, whose desktop theme may use the session bus.
  SayGuard(DesktopBus::GuardSessionBus());

  NoDisplayLine = (MessageTexts::Text(MessageTexts::mxNoDisplay) + u'\n').toLocal8Bit();
  DesktopBus::SetUnreachedText(MessageTexts::Text(MessageTexts::mxNotificationUnreached));
  SleepInhibitor::SetUnheldText(MessageTexts::Text(MessageTexts::mxCannotKeepAwake));
  F_Steepo::KeepAwake = true;
  const QtMessageHandler previous = qInstallMessageHandler(StartupMessageHandler);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);

  QGuiApplication::setDesktopFileName(QString::fromUtf8(SteepoConfig::AppId));
  Platform::SetAppUserModelID(QString::fromUtf8(SteepoConfig::AppUserModelId));
  QApplication::setWindowIcon(Resources::WindowIcon());
  OrbUtils::SetCommandLine(QApplication::arguments());
  Platform::SetApplicationTitle(QStringLiteral("Steepo"));
  Platform::EndOnTerminationSignals();

  // Again right before the first window, whose first text brings up Qt's accessibility
  // bridge: a bus that stopped since the first check is caught here.
  SayGuard(DesktopBus::GuardSessionBus());
  TFSteepo mainWindow;
  F_Steepo::FSteepo = &mainWindow;
  Platform::SetMainWindow(&mainWindow);
  F_Steepo2::PrepareAlarmDialog(&mainWindow);

  if (const QScreen* screen = mainWindow.screen())
    mainWindow.move(screen->availableGeometry().center() - mainWindow.rect().center());
  mainWindow.show();
  return app.exec();
}
