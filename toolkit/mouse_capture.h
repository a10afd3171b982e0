#pragma once

namespace qvsdk::ui {

class widget;

// The one captured widget of the process: it alone gets presses, releases and
// moves while the mouse button is held on it (buttons, scroll-bar thumbs).
widget* captured_widget();
// Makes the widget the captured one and gives its window the system's capture.
void capture_mouse(widget& w);
// Ends relative-mouse mode, gives the system's capture back and clears the captured widget.
void release_mouse();
// Forgets the captured widget without touching the system's capture (it was lost).
void clear_captured_widget();

} // namespace qvsdk::ui
