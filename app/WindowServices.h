#pragma once

#include "Dialogs.h"
#include "SettingsStore.h"
#include "basTextRepeat.h"

#include <cstddef>
#include <memory>

namespace wordloom {

class CommandObserver;

// What the main window is given rather than finds for itself. The program
// passes the defaults; a test binary passes its stand-ins and a folder of its
// own for the settings.
struct WindowServices {
    std::unique_ptr<Dialogs> dialogs;         // none: the platform's own, parented to the window
    SettingsStore settings;                   // where the placement is kept: the user's own store
    CommandObserver *observer = nullptr;      // outlives the window and any read it starts
    std::size_t phraseCountBudget = basTextRepeat::kDefaultPhraseBudget; // bytes for Phrase Count's phrases
};

} // namespace wordloom
