#include "BundleSignature.h"

#include "platform/Bundle.h"
#include "platform/PropertyList.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const QString sealDirectory = QStringLiteral("Contents/_CodeSignature");
const QString identityKey = QStringLiteral("identity");
const QString adHocKey = QStringLiteral("adhoc");
const QString identifierKey = QStringLiteral("identifier");
const QString filesKey = QStringLiteral("files");
const QString signedAtKey = QStringLiteral("signedAt");
const QString symlinkKey = QStringLiteral("symlink");

constexpr qsizetype sha256Size = 32;

bool isSealPath(const QString& relativePath) {
    return relativePath == sealDirectory || relativePath.startsWith(sealDirectory + u'/');
}

// A seal entry is a file's hash or the record of a link; anything else means the seal was
// tampered with or written by something else.
bool isValidEntry(const QVariant& entry) {
    if (entry.typeId() == QMetaType::QByteArray)
        return entry.toByteArray().size() == sha256Size;
    if (entry.typeId() != QMetaType::QVariantMap)
        return false;
    const QVariantMap link = entry.toMap();
    return link.size() == 1 && link.value(symlinkKey).typeId() == QMetaType::QString;
}

// The identity ends up on an "Authority=" line that callers parse line by line.
bool isValidIdentity(const QString& identity) {
    if (identity.isEmpty())
        return false;
    for (const QChar character : identity) {
        if (character.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace

BundleSignature::BundleSignature(const QString& bundlePath)
    : m_bundlePath(QDir::cleanPath(QFileInfo(bundlePath).absoluteFilePath())) {}

QString BundleSignature::sealPath() const {
    return m_bundlePath + u'/' + sealDirectory + QStringLiteral("/CodeResources");
}

BundleSignature::Outcome BundleSignature::fail(const QString& reason) {
    m_error = reason;
    return Outcome::Failed;
}

bool BundleSignature::checkBundle(QVariantMap* info) {
    if (!QFileInfo(m_bundlePath).isDir()) {
        fail(QFileInfo::exists(m_bundlePath) ? QStringLiteral("not a bundle (not a folder)")
                                             : QStringLiteral("no such file or folder"));
        return false;
    }
    const QString infoPath = Bundle(m_bundlePath).infoPlistPath();
    if (!QFileInfo::exists(infoPath)) {
        fail(QStringLiteral("not a bundle (Contents/Info.plist is missing)"));
        return false;
    }
    QString error;
    const std::optional<PropertyList::Document> document = PropertyList::readFile(infoPath, &error);
    if (!document || document->root.typeId() != QMetaType::QVariantMap) {
        fail(QStringLiteral("Contents/Info.plist is not a readable dictionary") +
             (error.isEmpty() ? QString() : QStringLiteral(": ") + error));
        return false;
    }
    *info = document->root.toMap();
    return true;
}

std::optional<QVariantMap> BundleSignature::currentFiles() {
    const QDir root(m_bundlePath);
    QVariantMap files;
    QDirIterator iterator(m_bundlePath, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
    while (iterator.hasNext()) {
        const QString path = iterator.next();
        const QString relative = root.relativeFilePath(path);
        if (isSealPath(relative))
            continue;
        const QFileInfo info = iterator.fileInfo();
        if (info.isSymLink()) {
            // Recorded, never followed: a link may point anywhere, and what it points at is not
            // part of this bundle.
            std::error_code error;
            const std::filesystem::path target =
                std::filesystem::read_symlink(QFile::encodeName(path).toStdString(), error);
            if (error) {
                fail(QStringLiteral("cannot read the link ") + relative + QStringLiteral(": ") +
                     QString::fromStdString(error.message()));
                return std::nullopt;
            }
            files.insert(relative, QVariantMap{{symlinkKey, QFile::decodeName(target.c_str())}});
        } else if (info.isDir()) {
            continue;
        } else if (info.isFile()) {
            QFile file(path);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
                fail(QStringLiteral("cannot read ") + relative + QStringLiteral(": ") + file.errorString());
                return std::nullopt;
            }
            files.insert(relative, hash.result());
        } else {
            // Pipes, sockets and devices have no content that a seal could vouch for.
            fail(relative + QStringLiteral(": not a regular file, folder or symbolic link"));
            return std::nullopt;
        }
    }
    return files;
}

std::optional<QVariantMap> BundleSignature::readSeal(Outcome* outcome) {
    const QFileInfo sealInfo(sealPath());
    if (!sealInfo.exists() && !sealInfo.isSymLink()) {
        *outcome = Outcome::NotSigned;
        return std::nullopt;
    }
    QString error;
    const std::optional<PropertyList::Document> document = PropertyList::readFile(sealPath(), &error);
    if (!document) {
        *outcome = fail(QStringLiteral("the signature cannot be read: ") + error);
        return std::nullopt;
    }
    const QVariantMap seal = document->root.toMap();
    const QVariant files = seal.value(filesKey);
    bool valid = document->root.typeId() == QMetaType::QVariantMap &&
                 seal.value(identityKey).typeId() == QMetaType::QString &&
                 isValidIdentity(seal.value(identityKey).toString()) &&
                 seal.value(identifierKey).typeId() == QMetaType::QString &&
                 seal.value(signedAtKey).typeId() == QMetaType::QDateTime && files.typeId() == QMetaType::QVariantMap;
    if (valid) {
        const QVariantMap entries = files.toMap();
        for (auto entry = entries.cbegin(); valid && entry != entries.cend(); ++entry)
            valid = isValidEntry(entry.value());
    }
    if (!valid) {
        *outcome = fail(QStringLiteral("the signature is malformed"));
        return std::nullopt;
    }
    *outcome = Outcome::Ok;
    return seal;
}

BundleSignature::Outcome BundleSignature::sign(const QString& identity, bool force) {
    if (!isValidIdentity(identity))
        return fail(QStringLiteral("invalid signing identity"));
    QVariantMap info;
    if (!checkBundle(&info))
        return Outcome::Failed;
    const QVariant identifier = info.value(QStringLiteral("CFBundleIdentifier"));
    if (identifier.typeId() != QMetaType::QString || identifier.toString().isEmpty())
        return fail(QStringLiteral("Contents/Info.plist has no CFBundleIdentifier"));

    const QString directory = m_bundlePath + u'/' + sealDirectory;
    const QFileInfo directoryInfo(directory);
    if (!force && (directoryInfo.exists() || directoryInfo.isSymLink()))
        return Outcome::AlreadySigned;

    const std::optional<QVariantMap> files = currentFiles();
    if (!files)
        return Outcome::Failed;

    // A link or file in the seal's place would have the seal written outside the bundle.
    if (directoryInfo.isSymLink() || (directoryInfo.exists() && !directoryInfo.isDir()))
        QFile::remove(directory);
    if (!QDir().mkpath(directory))
        return fail(QStringLiteral("cannot create ") + sealDirectory);

    QVariantMap seal{
        {identityKey, identity},
        {identifierKey, identifier.toString()},
        {filesKey, *files},
        {signedAtKey, QDateTime::currentDateTimeUtc()},
    };
    if (identity == QLatin1String(adHocIdentity))
        seal.insert(adHocKey, true);
    QString error;
    if (!PropertyList::writeFileAtomically(sealPath(), seal, PropertyList::Format::Xml, &error))
        return fail(QStringLiteral("cannot write the signature: ") + error);
    return Outcome::Ok;
}

BundleSignature::Outcome BundleSignature::describe(Description* description) {
    QVariantMap info;
    if (!checkBundle(&info))
        return Outcome::Failed;
    Outcome outcome = Outcome::Ok;
    const std::optional<QVariantMap> seal = readSeal(&outcome);
    if (!seal)
        return outcome;
    description->executablePath = Bundle(m_bundlePath).executablePath();
    description->identifier = seal->value(identifierKey).toString();
    description->identity = seal->value(identityKey).toString();
    description->signedAt = seal->value(signedAtKey).toDateTime();
    description->fileCount = seal->value(filesKey).toMap().size();
    description->sealSize = QFileInfo(sealPath()).size();
    description->infoEntries = info.size();
    return Outcome::Ok;
}

BundleSignature::Outcome BundleSignature::verify() {
    m_problems.clear();
    if (!QFileInfo(m_bundlePath).isDir())
        return fail(QStringLiteral("not a bundle (not a folder)"));
    Outcome outcome = Outcome::Ok;
    const std::optional<QVariantMap> seal = readSeal(&outcome);
    if (!seal)
        return outcome;
    const std::optional<QVariantMap> files = currentFiles();
    if (!files)
        return Outcome::Failed;

    const QVariantMap sealed = seal->value(filesKey).toMap();
    for (auto entry = sealed.cbegin(); entry != sealed.cend(); ++entry) {
        const auto current = files->constFind(entry.key());
        if (current == files->cend())
            m_problems.append(QStringLiteral("file missing: ") + m_bundlePath + u'/' + entry.key());
        else if (current.value() != entry.value())
            m_problems.append(QStringLiteral("file modified: ") + m_bundlePath + u'/' + entry.key());
    }
    for (auto entry = files->cbegin(); entry != files->cend(); ++entry) {
        if (!sealed.contains(entry.key()))
            m_problems.append(QStringLiteral("file added: ") + m_bundlePath + u'/' + entry.key());
    }
    return m_problems.isEmpty() ? Outcome::Ok : Outcome::Invalid;
}

BundleSignature::Outcome BundleSignature::removeSignature() {
    if (!QFileInfo(m_bundlePath).isDir())
        return fail(QStringLiteral("not a bundle (not a folder)"));
    const QString directory = m_bundlePath + u'/' + sealDirectory;
    const QFileInfo directoryInfo(directory);
    // Only the link goes: removing recursively through it would empty whatever it points at.
    if (directoryInfo.isSymLink() || (directoryInfo.exists() && !directoryInfo.isDir())) {
        if (!QFile::remove(directory))
            return fail(QStringLiteral("cannot remove ") + sealDirectory);
    } else if (directoryInfo.exists() && !QDir(directory).removeRecursively()) {
        return fail(QStringLiteral("cannot remove ") + sealDirectory);
    }
    return Outcome::Ok;
}

QStringList BundleSignature::descriptionLines(const Description& description) {
    QStringList lines{
        QStringLiteral("Executable=") + description.executablePath,
        QStringLiteral("Identifier=") + description.identifier,
        QStringLiteral("Format=app bundle"),
        QStringLiteral("CodeDirectory v=20500 size=%1 flags=%2 hashes=%3 location=embedded")
            .arg(description.sealSize)
            .arg(description.isAdHoc() ? QStringLiteral("0x2(adhoc)") : QStringLiteral("0x0(none)"))
            .arg(description.fileCount),
        QStringLiteral("Hash type=sha256 size=32"),
    };
    if (description.isAdHoc()) {
        lines.append(QStringLiteral("Signature=adhoc"));
    } else {
        lines.append(QStringLiteral("Authority=") + description.identity);
        lines.append(QStringLiteral("Timestamp=") + description.signedAt.toUTC().toString(Qt::ISODate));
    }
    lines.append(QStringLiteral("Info.plist entries=%1").arg(description.infoEntries));
    lines.append(QStringLiteral("TeamIdentifier=not set"));
    lines.append(QStringLiteral("Sealed Resources version=2 files=%1").arg(description.fileCount));
    return lines;
}
