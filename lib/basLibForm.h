#pragma once

class QWidget;

// Keeps a window's state, position and size in the per-user settings store.
namespace basLibForm {

void SaveFormPlacement(QWidget &window, bool saveSize);
void RestoreFormPlacement(QWidget &window);

} // namespace basLibForm
