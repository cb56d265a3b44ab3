#pragma once

#include <QString>

namespace wordloom {

// The application's title and version record.
struct AppIdentity {
    static QString title();
    static int major();
    static int minor();
    static int revision();
    static QString fileDescription();
    static QString legalNotice();
};

} // namespace wordloom
