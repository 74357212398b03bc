#pragma once
// The desktop's folder and file dialogs are windows of its own: the game's window gets
// out of its way first, the dialog opens after a short wait, and the window
// comes back as it was once the dialog has closed.
#include <string>

namespace desktopDialog {

// Moves the game's window aside; the seconds to wait before opening the dialog.
float prepare();
// The folder dialog (it blocks until closed), then the window put back.
// Empty when the player cancelled or there is no dialog program.
std::string pickFolder();
// The file dialog for a PNG picture, the same way.
std::string openPng();

}  // namespace desktopDialog
