#pragma once

#include "platform/drawing/colour.h"

#include <cstdint>

class DrawSurface;

// Paints a button face with a shaded bevel ring into `surface` (its whole size): the face in
// the base colour, the ring lit from the top left (raised) or from the bottom right (sunken).
// `shape` is the button's Appearance: 0 rectangle, 1 ellipse, 2 rounded rectangle, 3 capsule;
// any other value gives a plain face. A BevelHeight of 0 asks for the height that suits the
// shape and size, which is written back. With a height of 1 every ring pixel gets the full
// shade, as the one-pixel ring has no depth to grade.
void RenderBevel(DrawSurface& surface, std::int16_t& BevelHeight, ColourRef baseColour,
                 std::int32_t shape, bool sunken);

// The luminance of a ring pixel: from the face's luminance towards the target of the direction
// `angle` faces (radians, counter-clockwise from the right), by how deep the pixel lies in the
// ring (0 inner edge .. 1 outer edge). Sunken turns the light round by half a turn.
std::int16_t BevelLuminance(std::int16_t baseLuminance, double angle, double depth, bool sunken);

// sqrt(a * a + b * b)
double Hypotenuse(std::int32_t a, std::int32_t b);
