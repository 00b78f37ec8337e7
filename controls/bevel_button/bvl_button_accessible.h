#pragma once

class bvlBUTTON;

// What assistive tools see of a bevel button: its name (the caption, or else the tool tip), a
// push button, check box or radio button by Behaviour, its checked, pressed and disabled state,
// and a press action that takes the road of a mouse click (queued: the caller does not wait).

// Makes the description known to Qt's accessibility; once per program is enough.
void installBevelButtonAccessibility();

// Tell assistive tools that the name, the checked or pressed state, or the enabled state changed.
// Each change goes as an event of its own: AT-SPI passes on one state per event.
void notifyBevelButtonName(bvlBUTTON* button);
void notifyBevelButtonState(bvlBUTTON* button);
void notifyBevelButtonEnabled(bvlBUTTON* button);
