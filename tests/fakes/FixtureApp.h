#pragma once

#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QString>

// An application bundle at `bundle` whose executable is the fixture program, which records its
// launches in $TRELLIN_FIXTURE_LOG. Returns the bundle's path.
inline QString makeFixtureApp(const QString& bundle, const QString& fixtureProgram) {
    QDir().mkpath(bundle + QStringLiteral("/Contents/MacOS"));
    QFile::copy(fixtureProgram, bundle + QStringLiteral("/Contents/MacOS/fixture"));
    PropertyList::writeFileAtomically(
        bundle + QStringLiteral("/Contents/Info.plist"),
        QVariantMap{{QStringLiteral("CFBundleExecutable"), QStringLiteral("fixture")},
                    {QStringLiteral("CFBundleIdentifier"), QStringLiteral("test.Fixture")},
                    {QStringLiteral("CFBundleName"), QStringLiteral("Fixture")}},
        PropertyList::Format::Xml);
    return bundle;
}
