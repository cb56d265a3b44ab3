#pragma once

#include <QIcon>

namespace wordloom {

// The application icon: 32 x 32, 16 colours, shared by every window.
QIcon applicationIcon();

} // namespace wordloom
