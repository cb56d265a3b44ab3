#pragma once

#include "SettingsStore.h"
#include "Twips.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

namespace wordloom::testing {

// Every test gets an empty settings store of its own in a temporary folder.
class PlacementStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        SettingsStore::useFolder(folder_.path());
    }
    void TearDown() override { SettingsStore::useFolder(QString()); }

    static QString stored(const char *section, const char *key)
    {
        return SettingsStore::read(QStringLiteral("Wordloom"), QLatin1String(section), QLatin1String(key),
                                   QStringLiteral("<missing>"));
    }
    static void store(const char *section, const char *key, const QString &value)
    {
        SettingsStore::write(QStringLiteral("Wordloom"), QLatin1String(section), QLatin1String(key), value);
    }
    // The text a pixel position or size is stored as.
    static QString twipsX(int pixels) { return QString::number(std::llround(Twips::fromPixelsX(pixels))); }
    static QString twipsY(int pixels) { return QString::number(std::llround(Twips::fromPixelsY(pixels))); }

private:
    QTemporaryDir folder_;
};

} // namespace wordloom::testing
