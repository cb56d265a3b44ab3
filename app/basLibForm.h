#pragma once

class QWidget;

// Keeps a window's state, position and size in the per-user settings store,
// under the application's title and a section named after the window
// (its object name). Positions and sizes are the outer frame's, in twips.
namespace basLibForm {

void SaveFormPlacement(QWidget &window, bool saveSize);
void RestoreFormPlacement(QWidget &window);

} // namespace basLibForm
