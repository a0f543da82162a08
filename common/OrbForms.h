#pragma once
// What the forms share on every platform: the layouts' font, the buttons' glyphs, the scale of
// a form laid out for one desktop font and shown with another, and the step after a stored
// layout has been read.

#include <QSize>
#include <QtGlobal>

class QFont;
class QIcon;
class QPushButton;
class QString;
class QWidget;

namespace OrbForms {

// The layouts' font: Tahoma at a pixel height, the system's sans-serif where Tahoma is missing.
QFont LayoutFont(int pixelHeight, bool bold = false);

// A button glyph: count images side by side (normal, then disabled), the olive background
// (128, 128, 0) transparent.
QIcon GlyphIcon(const QString& resource, int count);

// Gives a button with a caption its glyph with spacing pixels between glyph and caption.
void SetButtonGlyph(QPushButton* button, const QString& resource, int count, int spacing);

// ---- Form scale ---------------------------------------------------------------------------

// The forms are laid out in pixels for a desktop whose text is DesignedFontPoints tall (the
// 8-point text of the layouts sits beside it as it did on the desktop it was made for).
inline constexpr qreal DesignedFontPoints = 10;
// How much larger than laid out the forms are drawn for a desktop font: its size over the
// designed size, never below 1, so that a user who needs large text gets it.
qreal FormScaleFor(const QFont& desktopFont);
// The same for the application's default font, the desktop's.
qreal FormScale();
// A designed length at scale, rounded.
int Scaled(int designed, qreal scale);
// Scales form as a whole, the way a form laid out at one resolution is shown at another:
// every child's position and size (by its edges, so neighbours stay neighbours), every font
// and every button's icon with its glyph, and the form's own size. Nothing at scale 1.
void ScaleForm(QWidget* form, qreal scale);
// The icon's images drawn at designed size times scale (larger than any image it holds).
QIcon ScaledIcon(const QIcon& icon, QSize designed, qreal scale);

// Calls Loaded() on every child of form that has one, after its stored layout has been read.
void CallLoaded(QWidget* form);

} // namespace OrbForms
