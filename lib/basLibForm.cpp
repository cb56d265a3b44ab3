#include "basLibForm.h"

#include <QWidget>

namespace basLibForm {

// Placement persistence arrives with the settings store; until then the
// window opens at its design size.
void SaveFormPlacement(QWidget &, bool) {}
void RestoreFormPlacement(QWidget &) {}

} // namespace basLibForm
