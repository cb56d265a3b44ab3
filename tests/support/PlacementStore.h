#pragma once

#include "SettingsStore.h"
#include "Twips.h"
#include "WindowServices.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

namespace wordloom::testing {

// Every test gets an empty settings store of its own in a temporary folder;
// the windows it opens are given that store.
class PlacementStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // For a main window that keeps its placement in this test's store.
    WindowServices services() const
    {
        WindowServices s;
        s.settings = settings;
        return s;
    }
    QString stored(const char *section, const char *key) const
    {
        return settings.readSection(QStringLiteral("Wordloom"), QLatin1String(section))
            .value(QLatin1String(key), QStringLiteral("<missing>"));
    }
    void store(const char *section, const char *key, const QString &value) const
    {
        settings.writeSection(QStringLiteral("Wordloom"), QLatin1String(section), {{QLatin1String(key), value}});
    }
    // The text a pixel position or size is stored as.
    static QString twipsX(int pixels) { return QString::number(std::llround(Twips::fromPixelsX(pixels))); }
    static QString twipsY(int pixels) { return QString::number(std::llround(Twips::fromPixelsY(pixels))); }

    QTemporaryDir folder;
    const SettingsStore settings{folder.path()};
};

} // namespace wordloom::testing
