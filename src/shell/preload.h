#pragma once

#include "app/command_line.h"

namespace kalvenor {

class FormMain;

// Runs the steps the command line asks for through the window's session, as a user would: the
// model, the boundary files, the colours and the display surface; with a model and a surface
// also the options, the 3D-map grid, the view, the map and, when a survey line is given, its
// section and the line on the map. The window shows each step's result as it comes. The first
// step that fails shows its message and ends the preload; the window stays usable.
void preload(FormMain& window, const SessionOptions& options);

}  // namespace kalvenor
