#pragma once

#include "platform/PreferenceDomain.h"

// Another application's domain kept in "<preferencesDirectory>/<domainName>.plist".
//
// Every read parses the file afresh, so changes the owner made are seen at once. A write reads
// the file afresh, changes the one key and replaces the file through a rename, in the format it
// had (binary stays binary). The file belongs to the other application: when it cannot be
// parsed it is never replaced, and reads give nothing.
class PlistPreferenceDomain final : public PreferenceDomain {
public:
    PlistPreferenceDomain(const QString& preferencesDirectory, const QString& domainName);

    const QString& filePath() const { return m_path; }

    QVariant copyValue(const QString& key) const override;
    bool setValue(const QString& key, const QVariant& value, QString* error = nullptr) override;
    bool synchronize() override;

private:
    QString m_path;
};
