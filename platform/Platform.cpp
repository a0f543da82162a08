#include "Platform.h"
#include "PlatformNative.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QBitmap>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QKeyEvent>
#include <QLibrary>
#include <QLocale>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <ctime>

namespace Platform {

namespace {

QString Title;
QPointer<QWidget> TheMainWindow;
TTickSource TickSourceOverride;
TSleeper SleeperOverride;
TShellOpener ShellOpenerOverride;
std::function<quint16()> LangIDSourceOverride;
std::function<QString()> SettingsPathSourceOverride;
std::function<void(const QString&)> ProblemSinkOverride;

} // namespace

// ---- Application ----------------------------------------------------------------------------

QString ApplicationTitle() { return Title; }
void SetApplicationTitle(const QString& title) { Title = title; }

void SetMainWindow(QWidget* window) { TheMainWindow = window; }
QWidget* MainWindow() { return TheMainWindow; }

void MinimizeApplication() {
  if (TheMainWindow)
    TheMainWindow->showMinimized();
}

void RestoreApplication() {
  if (!TheMainWindow)
    return;
  TheMainWindow->setWindowState(TheMainWindow->windowState() & ~Qt::WindowMinimized);
  TheMainWindow->showNormal();
  TheMainWindow->raise();
  TheMainWindow->activateWindow();
}

void ProcessMessages() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QFont LayoutFont(int pixelHeight, bool bold) {
  // Built from nothing and with every attribute marked as set, so that nothing of the
  // application's font, nor of a desktop theme's font for labels or buttons, shows through.
  QFont font(QStringLiteral("Tahoma"));
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

namespace {
// The gap that Qt's styles leave between a push button's icon and its text.
constexpr int StyleIconSpacing = 4;

// The image for screens of twice the pixel density beside a glyph: "BBOK.bmp" has "BBOK@2x.png".
QString DoubleDensityPath(const QString& resource) {
  const int dot = resource.lastIndexOf(u'.');
  return (dot < 0 ? resource : resource.left(dot)) + QStringLiteral("@2x.png");
}

// Image index of a strip of count, olive made transparent, trailing transparent columns added.
QPixmap GlyphImage(const QImage& strip, int count, int index, int trailing) {
  const int width = strip.width() / count;
  QImage glyph(width + trailing, strip.height(), QImage::Format_ARGB32);
  glyph.fill(Qt::transparent);
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < width; ++x)
      if (const QRgb pixel = strip.pixel(index * width + x, y); pixel != qRgb(128, 128, 0))
        glyph.setPixel(x, y, pixel);
  return QPixmap::fromImage(glyph);
}

QIcon GlyphIcon(const QString& resource, int count, int trailing) {
  const QImage strip(resource);
  if (strip.isNull() || count < 1)
    return {};
  // Where there is a twin of twice the size, screens of a higher density draw that one.
  const QImage fine(DoubleDensityPath(resource));
  const bool sharp = fine.size() == strip.size() * 2;
  QIcon icon;
  for (int index = 0; index < std::min(count, 2); ++index) {
    const QIcon::Mode mode = index == 0 ? QIcon::Normal : QIcon::Disabled;
    icon.addPixmap(GlyphImage(strip, count, index, trailing), mode);
    if (sharp) {
      QPixmap pixmap = GlyphImage(fine, count, index, 2 * trailing);
      pixmap.setDevicePixelRatio(2);
      icon.addPixmap(pixmap, mode);
    }
  }
  return icon;
}
} // namespace

QIcon GlyphIcon(const QString& resource, int count) { return GlyphIcon(resource, count, 0); }

void SetButtonGlyph(QPushButton* button, const QString& resource, int count, int spacing) {
  // The style puts its own gap after the icon; transparent columns at the icon's right make
  // up the rest.
  const int trailing = qMax(0, spacing - StyleIconSpacing);
  const QIcon icon = GlyphIcon(resource, count, trailing);
  button->setIcon(icon);
  if (!icon.isNull())
    button->setIconSize(icon.availableSizes().value(0));
}

qreal FormScaleFor(const QFont& desktopFont) {
  qreal points = desktopFont.pointSizeF();
  if (points <= 0 && desktopFont.pixelSize() > 0)
    points = desktopFont.pixelSize() * 72.0 / 96.0;
  return std::max<qreal>(1, points / DesignedFontPoints);
}

qreal FormScale() { return FormScaleFor(QApplication::font()); }

int Scaled(int designed, qreal scale) { return qRound(designed * scale); }

QIcon ScaledIcon(const QIcon& icon, QSize designed, qreal scale) {
  QIcon scaled;
  const QSize size(Scaled(designed.width(), scale), Scaled(designed.height(), scale));
  for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
    // The finest image the icon holds, drawn at one and at two device pixels per pixel.
    const QPixmap finest = icon.pixmap(designed, 2.0, mode);
    for (const int ratio : {1, 2}) {
      QPixmap pixmap = finest.scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      pixmap.setDevicePixelRatio(ratio);
      scaled.addPixmap(pixmap, mode);
    }
  }
  return scaled;
}

namespace {
QRect ScaledRect(const QRect& rect, qreal scale) {
  const QPoint topLeft(Scaled(rect.left(), scale), Scaled(rect.top(), scale));
  const QPoint end(Scaled(rect.left() + rect.width(), scale), Scaled(rect.top() + rect.height(), scale));
  return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QFont ScaledFont(QFont font, qreal scale) {
  if (font.pixelSize() > 0)
    font.setPixelSize(Scaled(font.pixelSize(), scale));
  else
    font.setPointSizeF(font.pointSizeF() * scale);
  return font;
}
} // namespace

void ScaleForm(QWidget* form, qreal scale) {
  if (scale == 1)
    return;
  const auto children = form->findChildren<QWidget*>();
  for (QWidget* child : children) {
    if (child->testAttribute(Qt::WA_SetFont))
      child->setFont(ScaledFont(child->font(), scale));
    if (auto* button = qobject_cast<QPushButton*>(child); button && !button->icon().isNull()) {
      const QSize designed = button->icon().actualSize(button->iconSize());
      button->setIcon(ScaledIcon(button->icon(), designed, scale));
      button->setIconSize(designed * scale);
    }
    child->setGeometry(ScaledRect(child->geometry(), scale));
  }
  form->setFont(ScaledFont(form->font(), scale));
  const QSize size(Scaled(form->width(), scale), Scaled(form->height(), scale));
  if (form->minimumSize() == form->maximumSize())
    form->setFixedSize(size);
  else
    form->resize(size);
}

void CallLoaded(QWidget* form) {
  const auto children = form->findChildren<QWidget*>();
  for (QWidget* child : children) {
    const QMetaObject* meta = child->metaObject();
    const int index = meta->indexOfMethod("Loaded()");
    if (index >= 0)
      meta->method(index).invoke(child, Qt::DirectConnection);
  }
}

// ---- Messages -----------------------------------------------------------------------------

void PostMessage(QObject* target, int message, qintptr wParam, qintptr lParam) {
  QCoreApplication::postEvent(target, new TMessageEvent(message, wParam, lParam));
}

// ---- Keys ---------------------------------------------------------------------------------

int VirtualKeyCode(const QKeyEvent& event) {
  const int key = event.key();
  const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return keypad ? vkNumpad0 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return vkF1 + (key - Qt::Key_F1);
  switch (key) {
  case Qt::Key_Backspace: return vkBack;
  case Qt::Key_Tab: return vkTab;
  case Qt::Key_Backtab: return vkTab;
  case Qt::Key_Return: return vkReturn;
  case Qt::Key_Enter: return vkReturn;
  case Qt::Key_Shift: return vkShift;
  case Qt::Key_Control: return vkControl;
  case Qt::Key_Alt: return vkMenu;
  case Qt::Key_Pause: return vkPause;
  case Qt::Key_Escape: return vkEscape;
  case Qt::Key_Space: return vkSpace;
  case Qt::Key_PageUp: return vkPrior;
  case Qt::Key_PageDown: return vkNext;
  case Qt::Key_End: return vkEnd;
  case Qt::Key_Home: return vkHome;
  case Qt::Key_Left: return vkLeft;
  case Qt::Key_Up: return vkUp;
  case Qt::Key_Right: return vkRight;
  case Qt::Key_Down: return vkDown;
  case Qt::Key_Insert: return vkInsert;
  case Qt::Key_Delete: return vkDelete;
  case Qt::Key_Asterisk: return keypad ? vkMultiply : 0;
  case Qt::Key_Plus: return keypad ? vkAdd : vkOemPlus;
  case Qt::Key_Minus: return keypad ? vkSubtract : vkOemMinus;
  case Qt::Key_Period: return keypad ? vkDecimal : vkOemPeriod;
  case Qt::Key_Slash: return keypad ? vkDivide : vkOem2;
  case Qt::Key_Comma: return vkOemComma;
  default: return 0;
  }
}

// ---- Time ---------------------------------------------------------------------------------

quint64 TickCount() { return TickSourceOverride ? TickSourceOverride() : Native::TickCount(); }
void SetTickSource(TTickSource source) { TickSourceOverride = std::move(source); }

void Sleep(int milliseconds) {
  if (SleeperOverride)
    SleeperOverride(milliseconds);
  else if (milliseconds > 0)
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
void SetSleeper(TSleeper sleeper) { SleeperOverride = std::move(sleeper); }

// ---- Shell --------------------------------------------------------------------------------

bool ShellOpen(const QString& target) {
  if (ShellOpenerOverride)
    return ShellOpenerOverride(target);
  return Native::ShellOpen(target);
}
void SetShellOpener(TShellOpener opener) { ShellOpenerOverride = std::move(opener); }

// ---- Locale -------------------------------------------------------------------------------

quint16 PrimaryLanguageID(QLocale::Language language) {
  switch (language) {
  case QLocale::Arabic: return 0x01;
  case QLocale::Bulgarian: return 0x02;
  case QLocale::Catalan: return 0x03;
  case QLocale::Chinese: return 0x04;
  case QLocale::Czech: return 0x05;
  case QLocale::Danish: return 0x06;
  case QLocale::German: return 0x07;
  case QLocale::Greek: return 0x08;
  case QLocale::English: return 0x09;
  case QLocale::Spanish: return 0x0A;
  case QLocale::Finnish: return 0x0B;
  case QLocale::French: return 0x0C;
  case QLocale::Hebrew: return 0x0D;
  case QLocale::Hungarian: return 0x0E;
  case QLocale::Icelandic: return 0x0F;
  case QLocale::Italian: return 0x10;
  case QLocale::Japanese: return 0x11;
  case QLocale::Korean: return 0x12;
  case QLocale::Dutch: return 0x13;
  case QLocale::NorwegianBokmal: return 0x14;
  case QLocale::NorwegianNynorsk: return 0x14;
  case QLocale::Polish: return 0x15;
  case QLocale::Portuguese: return 0x16;
  case QLocale::Romanian: return 0x18;
  case QLocale::Russian: return 0x19;
  case QLocale::Croatian: return 0x1A;
  case QLocale::Serbian: return 0x1A;
  case QLocale::Slovak: return 0x1B;
  case QLocale::Albanian: return 0x1C;
  case QLocale::Swedish: return 0x1D;
  case QLocale::Thai: return 0x1E;
  case QLocale::Turkish: return 0x1F;
  case QLocale::Urdu: return 0x20;
  case QLocale::Indonesian: return 0x21;
  case QLocale::Ukrainian: return 0x22;
  case QLocale::Belarusian: return 0x23;
  case QLocale::Slovenian: return 0x24;
  case QLocale::Estonian: return 0x25;
  case QLocale::Latvian: return 0x26;
  case QLocale::Lithuanian: return 0x27;
  case QLocale::Persian: return 0x29;
  case QLocale::Vietnamese: return 0x2A;
  default: return 0;
  }
}


quint16 SystemDefaultLangID() {
  if (LangIDSourceOverride)
    return LangIDSourceOverride();
  return Native::SystemDefaultLangID();
}
void SetLangIDSource(std::function<quint16()> source) { LangIDSourceOverride = std::move(source); }

// ---- Settings -----------------------------------------------------------------------------

QByteArray SettingsFileNameFor(const QByteArray& home, const QByteArray& configHome) {
  struct stat info {};
  QByteArray folder;
  if (configHome.startsWith('/'))
    folder = configHome;
  else if (home.startsWith('/') && ::stat(home.constData(), &info) == 0 && S_ISDIR(info.st_mode))
    folder = home + "/.config";
  else
    return {};
  // Latin-1 carries every byte through unchanged; the cleaning only looks at "/" and ".".
  return QDir::cleanPath(QString::fromLatin1(folder + "/Varnak/Steepo.conf")).toLatin1();
}

QString SettingsPathFor(const QString& home, const QString& configHome) {
  return QFile::decodeName(SettingsFileNameFor(QFile::encodeName(home), QFile::encodeName(configHome)));
}

QByteArray SettingsFileName() {
  if (SettingsPathSourceOverride)
    return QFile::encodeName(SettingsPathSourceOverride());
  return SettingsFileNameFor(qgetenv("HOME"), qgetenv("XDG_CONFIG_HOME"));
}

QString SettingsPath() { return QFile::decodeName(SettingsFileName()); }
void SetSettingsPathSource(std::function<QString()> source) { SettingsPathSourceOverride = std::move(source); }

// ---- Diagnostics --------------------------------------------------------------------------

void ReportProblem(const QString& line) {
  QString shown = line;
  for (QChar& c : shown)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = u'?';
  if (ProblemSinkOverride) {
    ProblemSinkOverride(shown);
    return;
  }
  WriteText(stderr, shown + u'\n');
}

bool WriteText(std::FILE* stream, const QString& text) {
  if (const std::optional<bool> written = Native::WriteConsoleText(stream, text))
    return *written;
  return std::fputs(text.toLocal8Bit().constData(), stream) >= 0 && std::fflush(stream) == 0 && !std::ferror(stream);
}
void SetProblemSink(std::function<void(const QString& line)> sink) { ProblemSinkOverride = std::move(sink); }

// ---- Version ------------------------------------------------------------------------------

QString ProgramPath() { return QCoreApplication::applicationFilePath(); }

} // namespace Platform
