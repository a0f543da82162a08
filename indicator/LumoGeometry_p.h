#pragma once
// The indicator's pure geometry: glyph polygons, the cell layout and placement of a whole
// text, point rotation, the rotated box and window shape, the lighting octant and bevel
// faces (with the colour arithmetic of LumoShading_p.h). No widget, no painter: every function
// here maps values to values, so the renderer calls them and tests check them alone.

#include "LumoPoints_p.h"
#include "LumoShading_p.h"

#include <QtCore/qstring.h>
#include <array>

namespace LumoLiquidIndicator {

// ---- Point lists -------------------------------------------------------------------------

// Turns every point about the origin by angle tenths of a degree (counter-clockwise on
// screen), each point rounded on its own, halves to even; (0, 0) never moves.
void RotatePoints(Tpoints& points, qint32 angle);
// RotatePoints, then the displacement that carries the rotated pivot back onto (x, y),
// rounded once and added to every point.
void RotatePointsAround(Tpoints& points, qint32 x, qint32 y, qint32 angle);
// Adds (dx, dy) to points[0..last]; last == -1 is an empty run.
void OffsetPoints(TPoint* points, qint32 last, qint32 dx, qint32 dy);
void OffsetPoints(Tpoints& points, qint32 dx, qint32 dy);

// Appends all of part to into (points, vertex counts, polygon count).
void AppendPolygons(TPolyList& into, const TPolyList& part);
// Appends one polygon's points to points and its vertex count to vertices.
void AddPolygon(Tpoints& points, Tintegers& vertices, const Tpoints& polygon);

// ---- Glyphs -------------------------------------------------------------------------------

// What the glyph shapes depend on besides the cell. Hovering is true exactly while the
// pointer is over the control and the mouse action is maWidth or maBoth.
struct TGlyphSettings {
  TLumoIndicatorKind Kind = ik7segment;
  TLumoIndicatorStyle Style = isNormal;
  bool Hovering = false;
};

// Segment thickness t of the segment kinds for a cell of width w and height h.
double SegmentThickness(TLumoIndicatorStyle style, bool hovering, qint32 w, qint32 h);
// The six points of segment position index (1..8 for ik7segment, 1..10 for ik9segment) in
// cell coordinates (not yet moved by the cell's Left and Top).
void SegmentPolygon(const TRect& cell, TLumoIndicatorKind kind, TLumoIndicatorStyle style,
                    bool hovering, int index, Tpoints& points);
// The four points of dot (row 1..7, column 1..5) of a 5x7 glyph, in cell coordinates.
void MatrixDotPolygon(const TRect& cell, TLumoIndicatorStyle style, bool hovering, int row,
                      int column, Tpoints& points);
// Every position of the character's glyph as a polygon, moved by (Left, Top), into lit or
// unlit in walking order. Both results are emptied first.
void BuildGlyph(const TRect& cell, char16_t character, bool point, const TGlyphSettings& settings,
                TPolyList& lit, TPolyList& unlit);

// ---- Layout of a whole indicator ---------------------------------------------------------------

// Everything the polygon lists of an indicator depend on.
struct TIndicatorLayoutSettings {
  qint32 SignNumber = 10;
  qint32 IndicatorWidth = 172;
  qint32 IndicatorHeight = 36;
  qint32 IndicatorAngle = 0;
  qint32 IndicatorGap = 2;
  QString Indicatorstring;
  TLumoIndicatorKind IndicatorKind = ik7segment;
  TLumoBevelKind InnerBevel = bkDown;
  TLumoBevelKind OuterBevel = bkUP;
  qint32 InnerBevelWidth = 2;
  qint32 OuterBevelWidth = 2;
  TLumoIndicatorStyle IndicatorStyle = isNormal;
  bool Hovering = false;
  qint32 ControlWidth = 172;   // the control's own size: the rotated box
  qint32 ControlHeight = 36;
};

struct TCellLayout {
  qint32 Border = 0;
  qint32 CellWidth = 0;
  qint32 CellHeight = 0;
  friend bool operator==(const TCellLayout&, const TCellLayout&) = default;
};
TCellLayout CellLayout(const TIndicatorLayoutSettings& settings);

// One cell's share of the text: the character its glyph shows and whether its decimal point
// is lit. CellAssignment gives exactly SignNumber of them, cell 1 first.
struct TCellCharacter {
  char16_t Character = u' ';
  bool Point = false;
  friend bool operator==(const TCellCharacter&, const TCellCharacter&) = default;
};
std::vector<TCellCharacter> CellAssignment(const QString& text, qint32 signNumber,
                                           TLumoIndicatorKind kind);

// The lit (Black) and unlit (Gray) polygon lists of the whole indicator, offset by the
// border, rotated about the indicator's centre and centred in the control.
// A SignNumber below 1 lays out no cells: both lists come back empty.
struct TIndicatorPolygons {
  TPolyList Black;
  TPolyList Gray;
};
TIndicatorPolygons BuildIndicatorPolygons(const TIndicatorLayoutSettings& settings);
// The same lists for drawing into the control, built with work that follows what can be seen
// rather than SignNumber: cells whose glyphs lie wholly outside the control are left out,
// and cells narrower than a pixel (width 0), which all lie on one spot and cover one another,
// come down to their even-odd sum, each distinct polygon once if it occurs an odd number of
// times. Inside the control both give the same even-odd regions.
TIndicatorPolygons BuildVisibleIndicatorPolygons(const TIndicatorLayoutSettings& settings);
// The same for a part of the control only, [Left, Right) x [Top, Bottom) in its pixels: the
// cells whose glyphs can reach into the part. Inside the part both give the same regions.
TIndicatorPolygons BuildVisibleIndicatorPolygons(const TIndicatorLayoutSettings& settings, const TRect& part);

// The same indicator in device pixels: its size, the control's size, the gap and the bevel
// widths each multiplied by ratio and rounded; the rest as it is. Ratio 1 changes nothing.
TIndicatorLayoutSettings AtPixelRatio(TIndicatorLayoutSettings settings, double ratio);

// ---- Rotated box, window shape, bevels -----------------------------------------------------

struct TBoxSize {
  qint32 Width = 0;
  qint32 Height = 0;
  friend bool operator==(const TBoxSize&, const TBoxSize&) = default;
};
// The bounding box of the indicator rotated by angle, each side rounded half to even.
TBoxSize RotatedBox(qint32 width, qint32 height, qint32 angle);

// Which branch of the size rule an angle takes: a multiple of 180 degrees, 90 more than a
// multiple of 180 degrees, or any other angle.
enum class TSizeRule { Straight, Quarter, Other };
TSizeRule SizeRuleFor(qint32 angle);

// The four corners of the rotated indicator rectangle, centred in a control of the given size.
std::array<TPoint, 4> WindowShape(qint32 width, qint32 height, qint32 angle, qint32 controlWidth,
                                  qint32 controlHeight);

// The lighting octant 1..8 of an angle.
int LightingOctant(qint32 angle);

enum class TBevelFace { Top = 0, Left = 1, Bottom = 2, Right = 3 };
struct TBevelFaceRole {
  TBevelFace Face = TBevelFace::Top;
  bool Light = false;
  friend bool operator==(const TBevelFaceRole&, const TBevelFaceRole&) = default;
};
// The four faces in drawing order with their light or dark role, for a bevel of the given kind
// (bkNone is treated as bkUP; the caller draws nothing for it).
std::array<TBevelFaceRole, 4> BevelFaces(int octant, TLumoBevelKind kind);

// The sixteen points of a bevel whose outer edge lies e pixels inside a width x height
// rectangle and whose width is b, faces top, left, bottom, right, four points each; placed:
// rotated about (width div 2, height div 2) and centred in the control.
std::array<TPoint, 16> BevelPoints(qint32 width, qint32 height, qint32 e, qint32 b, qint32 angle,
                                   qint32 controlWidth, qint32 controlHeight);

// Significand bits of the floating type the geometry computes in: 64 with the x87 extended
// type, 53 where that is double (or when the build forces double).
int GeometryPrecisionBits();

} // namespace LumoLiquidIndicator
