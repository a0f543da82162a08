// Fuzz target: the indicator. The input is a stream of steps on a new control: property
// settings with any value of the property's type, resizes, Loaded(), showing and hiding, the
// pointer entering and leaving, delivering the posted events (refreshes and repaints), and
// grabs of the painted control. Offscreen; one application and one shown form of 640 x 480
// pixels, the control's parent, for the whole run.
#include "LumoLiquidIndicator.h"

#include <QApplication>
#include <QEnterEvent>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

namespace {

using namespace LumoLiquidIndicator;
using TIndicator = TLumoLiquidIndicator;

// Reads the input front to back; past its end every value is zero.
class TReader {
public:
  TReader(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
  bool AtEnd() const { return At >= Size; }
  std::uint8_t Byte() { return At < Size ? Data[At++] : 0; }
  qint32 Int32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
      value |= std::uint32_t(Byte()) << (8 * i);
    return qint32(value);
  }
  // One of the count members of an enumeration (a form names them; no other value is one).
  template <typename E> E Member(int count) { return E(Byte() % count); }
  QString Text() {
    const std::size_t length = std::min<std::size_t>(Byte(), Size - std::min(At, Size));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(Data + At), qsizetype(length));
    At += length;
    return text;
  }
  // Up to 31 x 31 pixels in one of several formats (the indexed one without a colour
  // table, as a file might give it), the rows a pattern from one byte of the input.
  QImage Image() {
    static constexpr QImage::Format formats[] = {
        QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_Indexed8,
        QImage::Format_Mono, QImage::Format_Grayscale8, QImage::Format_RGB16,
        QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA64};
    const int width = Byte() % 32;
    const int height = Byte() % 32;
    QImage image(width, height, formats[Byte() % std::size(formats)]);
    if (image.isNull())
      return image;
    const std::uint8_t seed = Byte();
    for (int y = 0; y < height; ++y)
      std::memset(image.scanLine(y), seed + y, std::size_t(image.bytesPerLine()));
    return image;
  }

private:
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t At = 0;
};

using TStep = std::function<void(TIndicator&, TReader&)>;

template <typename T> TStep Int(void (TIndicator::*setter)(T)) {
  return [setter](TIndicator& control, TReader& in) { (control.*setter)(in.Int32()); };
}
template <typename E> TStep Member(void (TIndicator::*setter)(E), int count) {
  return [setter, count](TIndicator& control, TReader& in) { (control.*setter)(in.Member<E>(count)); };
}

void SendPointer(TIndicator& control, bool enter) {
  if (enter) {
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&control, &event);
  } else {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&control, &event);
  }
}

// At most 1024 x 1024 pixels of it: the grab's image is the caller's own, as large as it asks
// (a whole control of 32767 x 32767 pixels would take 4 GB).
void Grab(TIndicator& control) { control.grab(control.rect() & QRect(0, 0, 1024, 1024)); }

const std::vector<TStep>& Steps() {
  static const std::vector<TStep> steps = {
      Member(&TIndicator::SetColorScheme, 7),
      Int(&TIndicator::SetSignNumber),
      Int(&TIndicator::SetIndicatorWidth),
      Int(&TIndicator::SetIndicatorHeight),
      Int(&TIndicator::SetIndicatorAngle),
      Int(&TIndicator::SetIndicatorGap),
      [](TIndicator& c, TReader& in) { c.SetIndicatorstring(in.Text()); },
      Member(&TIndicator::SetIndicatorKind, 3),
      Member(&TIndicator::SetInnerBevel, 3),
      Member(&TIndicator::SetOuterBevel, 3),
      Int(&TIndicator::SetInnerBevelWidth),
      Int(&TIndicator::SetOuterBevelWidth),
      Int(&TIndicator::SetBevelColor),
      Int(&TIndicator::SetBackColor),
      Int(&TIndicator::SetNumberForeColor),
      Int(&TIndicator::SetNumberForeColor1),
      Int(&TIndicator::SetNumberBackColor),
      Member(&TIndicator::SetIndicatorStyle, 3),
      Member(&TIndicator::SetMouseAction, 4),
      Member(&TIndicator::SetTransparentMode, 3),
      [](TIndicator& c, TReader& in) { c.SetBackMaterial(in.Image()); },
      [](TIndicator& c, TReader& in) { c.SetForeMaterial(in.Image()); },
      Member(&TIndicator::SetMaterialShadowMode, 3),
      Member(&TIndicator::SetMaterialMode, 2),
      Member(&TIndicator::SetForeMaterialMode, 2),
      // Sizes up to 1023 x 1023 pixels, as a layout or a user may give the control (the
      // size properties reach the largest controls).
      [](TIndicator& c, TReader& in) {
        const int width = in.Byte() | (in.Byte() & 0x03) << 8;
        c.resize(width, in.Byte() | (in.Byte() & 0x03) << 8);
      },
      [](TIndicator& c, TReader&) { c.Loaded(); },
      [](TIndicator& c, TReader&) { Grab(c); },
      [](TIndicator& c, TReader& in) { c.setVisible(in.Byte() & 1); },
      [](TIndicator& c, TReader& in) { SendPointer(c, in.Byte() & 1); },
      [](TIndicator&, TReader&) { QCoreApplication::sendPostedEvents(); },
  };
  return steps;
}

// Never destroyed: the run ends in exit(), when the platform's own globals may be gone already.
QApplication* Application = nullptr;
QWidget* Form = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Arguments of its own: the application would take its options out of libFuzzer's.
  static int argc = 1;
  static char name[] = "fuzz_indicator";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  Application = new QApplication(argc, argv);
  Form = new QWidget;
  Form->resize(640, 480);
  Form->show();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TReader in(data, size);
  TIndicator control(Form);
  const std::vector<TStep>& steps = Steps();
  while (!in.AtEnd())
    steps[in.Byte() % steps.size()](control, in);
  QCoreApplication::sendPostedEvents();
  Grab(control);
  return 0;
}
