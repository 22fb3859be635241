#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

// The desktop's settings store (GSettings), where GNOME Shell keeps its favourites and docks keep
// their position and icon size. Deliberately no QObject: the implementation lives in a module of
// its own, and a QObject's meta object copied into it would not be the executable's.
class DesktopSettings {
public:
    // One schema's keys.
    class Schema {
    public:
        virtual ~Schema() = default;
        // A list of strings, a string (an enumeration's nick too), a number or a truth value;
        // none for a key the schema does not have or a value of another type.
        virtual std::optional<QVariant> value(const QString& key) const = 0;
        // Writes a list of strings; none when written, else why not.
        virtual std::optional<QString> setStringList(const QString& key, const QStringList& value) = 0;
        // Called on the main thread, with the key, whenever a key changes (by anyone).
        virtual void onChanged(std::function<void(const QString& key)> callback) = 0;
    };

    virtual ~DesktopSettings() = default;
    // The schema's settings, at `path` for a relocatable schema; null when the schema is not
    // installed (as on a machine without that desktop).
    virtual std::unique_ptr<Schema> open(const QString& schemaId, const QString& path = {}) = 0;
};
