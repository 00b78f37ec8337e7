#pragma once

// The one place where font families the stored form names but Debian does not ship are mapped
// to free families of the same metrics. Call once before the first control takes its font.
void installFontSubstitutes();
