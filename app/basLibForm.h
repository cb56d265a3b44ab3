#pragma once

class QWidget;

namespace wordloom {
class SettingsStore;
}

// Keeps a window's state, position and size in the given settings store,
// under the application's title and a section named after the window
// (its object name). Positions and sizes are the outer frame's, in twips.
namespace basLibForm {

void SaveFormPlacement(const wordloom::SettingsStore &store, QWidget &window, bool saveSize);
void RestoreFormPlacement(const wordloom::SettingsStore &store, QWidget &window);

} // namespace basLibForm
