#pragma once

// Primitives of the 2-D overlay drawn over the scene. Overlay space: x from -16
// (left) to 80 (right), y from -12 (top) to 60 (bottom), z = 0. Colours and
// texture state are the caller's.

// The four corners of a thick line, in drawing order: a quad from (x1, y1) with
// width w1 to (x2, y2) with width w2. The sideways direction is taken
// perpendicular to the segment from the plane through both ends and the
// overlay's origin; when they are collinear with the origin it falls back to
// (1, 0).
void thickLineCorners(float x1, float y1, float x2, float y2, float w1, float w2, float corners[8]);

// One untextured quad in the current colour, back-face culling off while it is drawn.
void drawThickLine(float x1, float y1, float x2, float y2, float w1, float w2);

// An arc of radius r and width w around (cx, cy) from startDeg to endDeg
// (either order), as overlapping chords of about seven degrees every five.
void drawArc(float cx, float cy, float r, float w, int startDeg, int endDeg);

// The point at radius r of an instrument whose needle angle is `a` radians.
void instrumentPoint(float cx, float cy, float a, float r, float& x, float& y);

// Glyph g of the bound numbers texture as a square of `size` at (x, y).
void drawGlyph(float x, float y, int glyph, float size);

// A time as M:SS.CC with glyphs of size 2.4.
void drawTime(float x, float y, float seconds);
