#pragma once

#include "render/canvas.h"
#include "session/session.h"
#include "session/session_file.h"

namespace kalvenor {

// The document of a session whose last picture was drawn on a canvas of the given size.
SessionDocument documentOf(const ViewerState& state, double canvasWidth, double canvasHeight);

// Takes the steps of the document: the inputs, the colours, the options and the grids it kept
// (the one built last, last), and the view for a canvas of the given size. They run on a fresh
// session first, which `session` takes over only when every step succeeded, so a session that
// cannot be opened changes nothing. A step that fails, or lists that do not fit the model file's
// boundaries and units, throw a SessionError that begins with the document's session file.
Warnings restoreSession(Session& session, const SessionDocument& document, double canvasWidth,
                        double canvasHeight);

// Draws the document's last picture in its own view and what was drawn over it, in order, as
// the commands that made them did; then applies the document's view for the canvas, as the view
// boxes held it.
Warnings drawSessionPicture(Session& session, const SessionDocument& document, Canvas& canvas);

}  // namespace kalvenor
