#pragma once

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

// GSettings for a test: the fixture's copy of the docks' schemas compiled into a temporary folder
// and a key file there as the store, so the tests need no desktop installed and touch no user's
// settings. Set up before anything in the process uses GSettings (GIO reads these once).
class TestDesktopSettings {
public:
    bool setUp() {
        if (!m_dir.isValid())
            return false;
        const QString schemas = m_dir.filePath(QStringLiteral("schemas"));
        QDir().mkpath(schemas);
        QFile::copy(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/dock-hosts/dock-hosts.gschema.xml"),
                    schemas + QStringLiteral("/dock-hosts.gschema.xml"));
        if (QProcess::execute(QStringLiteral("glib-compile-schemas"), {schemas}) != 0)
            return false;
        qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(schemas));
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        return true;
    }

    // Another process changes a key, as the user or the dock would.
    static bool set(const QString& schema, const QString& key, const QString& value) {
        return QProcess::execute(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, key, value}) == 0;
    }

private:
    QTemporaryDir m_dir;
};
