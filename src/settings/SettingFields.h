#pragma once

#include "AppSettings.h"

#include <QLatin1String>
#include <QVariant>

#include <optional>
#include <span>

// How one field of AppSettings is kept: its key, its default, how a stored value reads, and what
// an assignment does besides storing it. A change action writes the value (enums as their raw
// strings), runs the extra step, posts the notice, then the broadcast.
struct SettingField {
    enum class Extra {
        None,
        UpdateLoginItem,      // register or unregister the login item
        MirrorAppleLanguages, // also write the language as the only element of "AppleLanguages"
        MirrorToContainer,    // also write the flag into the container's preferences file
    };
    struct Range {
        qint64 lowest;
        qint64 highest;
    };

    AppSettings::Field field;
    const char* key = nullptr; // none: the field is never stored and its changes do nothing else
    // The value when the key is absent (for an unstored field, its first value); its type is the field's.
    AppSettings::Value defaultValue;
    // Read once, at creation, from the onboarding flag's own sources, and never reloaded.
    bool onboardingSources = false;
    // Integers only: what is read, and what is assigned, is clamped into it.
    std::optional<Range> range = std::nullopt;
    QLatin1String notice = {};    // process-local; empty for none
    QLatin1String broadcast = {}; // distributed; empty for none
    Extra extra = Extra::None;

    // The value of what the store holds under the key (an invalid QVariant when it holds nothing):
    // the store's conversion to the field's type, an enum's raw string matched exactly.
    AppSettings::Value read(const QVariant& stored) const;
    AppSettings::Value clamped(const AppSettings::Value& value) const;
};

// Every field, in the order of AppSettings::Field.
std::span<const SettingField> settingFields();
const SettingField& settingField(AppSettings::Field field);

// The value as the store keeps it: enums as their raw strings.
QVariant toStored(const AppSettings::Value& value);
