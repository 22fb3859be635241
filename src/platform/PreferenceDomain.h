#pragma once

#include <QString>
#include <QVariant>

// The preferences of another application's domain (the Dock's "com.apple.dock"), read and
// written the way the system's preference API does it. Values are property-list values held in
// QVariants, as in UserDefaults.
class PreferenceDomain {
public:
    virtual ~PreferenceDomain() = default;

    // An invalid QVariant when the key is absent or the domain cannot be read.
    virtual QVariant copyValue(const QString& key) const = 0;

    // Stores `value` under `key` (an invalid QVariant removes the key). On failure nothing is
    // changed, false is returned and, when `error` is given, it says why.
    virtual bool setValue(const QString& key, const QVariant& value, QString* error = nullptr) = 0;

    // Makes earlier writes visible to the domain's owner and later reads see its changes.
    virtual bool synchronize() = 0;
};
