#pragma once

// How deep the HTML readers of help files let elements nest before they stop reading. No real
// contents tree or page comes near it; a hostile file can nest without end, and how long the
// HTML parser takes over each element may grow with the depth.
constexpr int kMaxHtmlNesting = 128;
