#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// The signature of an application bundle: a seal of every file in the bundle (SHA-256 of each
// regular file, the target text of each symbolic link) kept as an XML property list in
// Contents/_CodeSignature/CodeResources, with the signing identity and the bundle identifier.
class BundleSignature {
public:
    enum class Outcome {
        Ok,
        NotSigned,     // no seal where one is needed
        AlreadySigned, // signing without force over an existing seal
        Invalid,       // the bundle no longer matches its seal; see problems()
        Failed,        // the bundle or its seal could not be read or written; see errorString()
    };

    // What a seal says about the bundle it was made for.
    struct Description {
        QString executablePath;
        QString identifier;
        QString identity; // "-" for an ad hoc signature
        QDateTime signedAt;
        qsizetype fileCount = 0;
        qint64 sealSize = 0;
        qsizetype infoEntries = 0;
        bool isAdHoc() const { return identity == QLatin1String("-"); }
    };

    static constexpr const char* adHocIdentity = "-";

    explicit BundleSignature(const QString& bundlePath);

    const QString& bundlePath() const { return m_bundlePath; }
    QString sealPath() const;

    // Seals the bundle as it is now; identity "-" signs ad hoc.
    Outcome sign(const QString& identity, bool force);
    Outcome describe(Description* description);
    // Compares the bundle with its seal; on Invalid, problems() names each file that differs.
    Outcome verify();
    Outcome removeSignature();

    const QString& errorString() const { return m_error; }
    const QStringList& problems() const { return m_problems; }

    // The lines the platform's tool prints for "-dv --verbose=4".
    static QStringList descriptionLines(const Description& description);

private:
    Outcome fail(const QString& reason);
    bool checkBundle(QVariantMap* info);
    // Every file below the bundle except the seal itself: relative path → hash or link record.
    std::optional<QVariantMap> currentFiles();
    std::optional<QVariantMap> readSeal(Outcome* outcome);

    QString m_bundlePath;
    QString m_error;
    QStringList m_problems;
};
