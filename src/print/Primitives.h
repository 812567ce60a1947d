#pragma once
// The drawing primitives of the print engine and the printer check the
// printing windows make before they hand rows over. Everything is drawn on a
// PageSurface in its layout coordinates; the routines keep no state, and what
// they set on the surface (font, colour, pen, position) stays set.

#include <QColor>
#include <QString>

class PageSurface;

// Sets the surface's font name; a name the surface cannot use leaves the previous font.
void SetFontNameSafe(PageSurface& surface, const QString& fontName);

// Draws a text in a box with its top-left corner at (x, y): lines break after
// any character where the box is too narrow (box width > 0), each line
// `lineHeight` below the one before; with line height 0 only the first line is
// drawn and line breaks are removed from the text first. align 1 right, 2
// centre, else left, for the last line only; spacing > 0 spaces the letters.
// Writes back a font size of 0 as 10 and an empty font name as "宋体".
// Answers the number of lines drawn (0 for a blank text).
int DrawBoxText(PageSurface& surface, double x, double y, int& fontSize, bool bold, QString& text, double boxWidth,
                double lineHeight, int align, QString& fontName, const QColor& colour, double spacing);

// A straight line in the given colour and pen width.
void DrawRule(PageSurface& surface, double x1, double y1, double x2, double y2, int penWidth, const QColor& colour);

// A Code 39 symbol of `text` ("*" + text + "*", no check character) with its
// top-left corner at (x, y); heightClass 3, 4 or 5 (clamped); showText 1 puts
// the text under the bars. A text with a character outside Code 39 prints
// "#" + the text instead, so the operator sees that it cannot be encoded.
void DrawCode39(PageSurface& surface, const QString& text, int spaceExtra, int showText, double x, double y,
                const QColor& colour, int textSize, int heightClass);

// The nine-element pattern ("1" wide, "0" narrow) of a Code 39 character,
// "" for a character outside the symbology.
QString Code39Pattern(QChar c);

// True when no printer is installed; with showMessage 1 the user is told so.
bool NoPrinter(int showMessage);
