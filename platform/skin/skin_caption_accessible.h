#pragma once

// What assistive tools see of a skinned window's caption bar: a title bar named after the
// window, holding its minimise and close buttons, each with a press action. The buttons are
// drawn by the caption bar, so they have no widgets of their own.

// Makes the description known to Qt's accessibility; once per program is enough.
void installSkinCaptionAccessibility();
