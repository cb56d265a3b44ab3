#include "AppIdentity.h"

namespace wordloom {

// The version numbers come from the project's version in the build.
QString AppIdentity::title() { return QStringLiteral("Wordloom"); }
int AppIdentity::major() { return WORDLOOM_VERSION_MAJOR; }
int AppIdentity::minor() { return WORDLOOM_VERSION_MINOR; }
int AppIdentity::revision() { return WORDLOOM_VERSION_PATCH; }

QString AppIdentity::fileDescription()
{
    return QStringLiteral("Wordloom performs various manipulations and analysis on textual data.");
}

QString AppIdentity::legalNotice()
{
    return QStringLiteral("\u00A9 2026 the Wordloom developers");
}

} // namespace wordloom
