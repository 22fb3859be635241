#include "HelperBundleBuilder.h"
#include "platform/Protocol.h"

#include "RunMode.h"
#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/PropertyList.h"
#include "platform/SystemLog.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdlib>

namespace {

bool isForbidden(char32_t c) {
    static const QString forbidden = QStringLiteral("/:*?\"<>|");
    if (c < 0x10000 && forbidden.contains(QChar(char16_t(c))))
        return true;
    if (QChar::category(c) == QChar::Other_Control)
        return true;
    return c != U' ' && QChar::isSpace(c);
}

// The first `count` user-perceived characters.
QString firstCharacters(const QString& text, int count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count && end < text.size(); ++i) {
        end = finder.toNextBoundary();
        if (end < 0) {
            end = text.size();
            break;
        }
    }
    return text.left(end);
}

} // namespace

HelperBundleBuilder::HelperBundleBuilder(const QString& applicationSupportDirectory, const Bundle& mainBundle,
                                         QString signingTool, SystemLog& systemLog)
    : m_applicationSupport(applicationSupportDirectory)
    , m_mainBundle(mainBundle)
    , m_signingTool(std::move(signingTool))
    , m_systemLog(systemLog) {}

const QString& HelperBundleBuilder::helpersDir() {
    if (m_helpersDir.isEmpty()) {
        m_helpersDir = QDir(m_applicationSupport).filePath(QStringLiteral("Trellin/Helpers"));
        QDir().mkpath(m_helpersDir);
        // Running processes are known by their resolved paths; keep ours comparable with them.
        const QString canonical = QFileInfo(m_helpersDir).canonicalFilePath();
        if (!canonical.isEmpty())
            m_helpersDir = canonical;
    }
    return m_helpersDir;
}

QString HelperBundleBuilder::helperFileName(const QString& folderName) {
    QString stem;
    for (const char32_t c : firstCharacters(folderName, 30).toUcs4()) {
        if (!isForbidden(c))
            stem += QString::fromUcs4(&c, 1);
    }
    // A file name holds at most 255 bytes. Thirty long clusters (emoji sequences, stacked marks)
    // can pass that, and the bundle could then not be made at all; they are cut at a character,
    // leaving room for the " N" of a second bundle of the same name.
    constexpr qsizetype kMaxStemBytes = 240;
    while (stem.toUtf8().size() > kMaxStemBytes) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, stem);
        finder.toEnd();
        stem.truncate(std::max<qsizetype>(0, finder.toPreviousBoundary()));
    }
    if (stem.isEmpty())
        stem = QStringLiteral("Group");
    return stem + QStringLiteral(".app");
}

QVariant HelperBundleBuilder::groupIDOf(const QString& bundlePath) {
    const auto info = PropertyList::readFile(bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (!info || info->root.typeId() != QMetaType::QVariantMap)
        return {};
    return info->root.toMap().value(Protocol::groupIDKey);
}

QStringList HelperBundleBuilder::helperBundlePaths() {
    const QDir directory(helpersDir());
    QStringList paths;
    for (const QString& entry :
         directory.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (QFileInfo(entry).suffix() == QStringLiteral("app"))
            paths.append(directory.filePath(entry));
    }
    return paths;
}

const QString& HelperBundleBuilder::ownIdentifier() const {
    if (m_ownIdentifier.isEmpty())
        m_ownIdentifier = m_mainBundle.identifier();
    return m_ownIdentifier;
}

std::optional<QString> HelperBundleBuilder::ownGroupID(const QString& bundlePath) const {
    // Only what stands in the helpers folder as itself: a link there may lead to anything.
    if (!FileSystem::isRealFolder(bundlePath) || !FileSystem::isRealFolder(bundlePath + QStringLiteral("/Contents")))
        return std::nullopt;
    const auto info = PropertyList::readFile(bundlePath + QStringLiteral("/Contents/Info.plist"), nullptr,
                                             FileSystem::kPropertyListLimit, FileSystem::Links::Refuse);
    if (!info || info->root.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap dictionary = info->root.toMap();
    const QVariant identifier = dictionary.value(QStringLiteral("CFBundleIdentifier"));
    const QVariant groupID = dictionary.value(Protocol::groupIDKey);
    // An application without an identifier of its own cannot tell its helpers from others'.
    if (ownIdentifier().isEmpty() || identifier.typeId() != QMetaType::QString ||
        identifier.toString() != ownIdentifier() || groupID.typeId() != QMetaType::QString)
        return std::nullopt;
    return groupID.toString();
}

std::optional<QString> HelperBundleBuilder::helperBundleURL(const QUuid& folderID) {
    const QString wanted = FolderID::canonical(folderID);
    for (const QString& path : helperBundlePaths()) {
        if (ownGroupID(path) == wanted)
            return path;
    }
    return std::nullopt;
}

void HelperBundleBuilder::removeUnfinishedBuilds() {
    const QDir directory(helpersDir());
    for (const QString& entry :
         directory.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.startsWith(QLatin1String(kBuildPrefix)) || entry.startsWith(QLatin1String(kReplacedPrefix)))
            FileSystem::removeItem(directory.filePath(entry));
    }
}

QString HelperBundleBuilder::destinationFor(const AppFolder& folder) {
    const QString fileName = helperFileName(folder.name);
    const QString stem = fileName.chopped(4);
    const QString wanted = FolderID::canonical(folder.id);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? fileName : QStringLiteral("%1 %2.app").arg(stem).arg(n);
        const QString path = QDir(helpersDir()).filePath(name);
        if (!FileSystem::entryExists(path))
            return path;
        // This folder's own bundle is replaced, and anything not built here is set aside (see
        // moveIntoPlace); another folder's helper is never taken over.
        const std::optional<QString> owner = ownGroupID(path);
        if (!owner || *owner == wanted || !FolderID::parse(*owner))
            return path;
    }
}

std::optional<QString> HelperBundleBuilder::buildHelperBundle(const AppFolder& folder) {
    const QString destination = destinationFor(folder);
    // Built where nothing else stands, and put in place whole: nothing already at the bundle's
    // path (a link to another application, say) is ever written into, and a build cut short
    // leaves nothing that looks like a helper.
    const std::optional<QString> build = buildInNewFolder(folder);
    if (!build)
        return std::nullopt;
    if (!moveIntoPlace(*build, destination)) {
        FileSystem::removeItem(*build);
        return std::nullopt;
    }
    if (!sign(destination)) {
        FileSystem::removeItem(destination);
        return std::nullopt;
    }
    return destination;
}

std::optional<QString> HelperBundleBuilder::buildInNewFolder(const AppFolder& folder) {
    if (!m_mainBundle.isValid()) {
        Console::printLine(
            QStringLiteral("Failed to copy app bundle: Trellin is not running from an application bundle"));
        return std::nullopt;
    }
    QByteArray pattern = QFile::encodeName(QDir(helpersDir()).filePath(QLatin1String(kBuildPrefix) + "XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        Console::printLine(QStringLiteral("Failed to copy app bundle: cannot create a folder in %1: %2")
                               .arg(helpersDir(), FileSystem::errorText(errno)));
        return std::nullopt;
    }
    const QString build = QFile::decodeName(pattern);
    // A new folder is private; the bundle gets the application's own permissions.
    struct stat application {};
    if (::stat(QFile::encodeName(m_mainBundle.path()).constData(), &application) == 0)
        ::chmod(pattern.constData(), application.st_mode & 07777);

    QString error;
    if (!FileSystem::copyTree(m_mainBundle.path(), build, &error)) {
        Console::printLine(QStringLiteral("Failed to copy app bundle: ") + error);
        FileSystem::removeItem(build);
        return std::nullopt;
    }
    shareCode(build);
    QFile::remove(build + QStringLiteral("/Icon\r"));
    QFile::remove(build + QStringLiteral("/Contents/MacOS/__preview.dylib"));
    stripExtendedAttributes(build);

    // A bundle that does not say which folder it serves would run as a second main application:
    // one that cannot be stamped is never signed or launched.
    const QString infoPath = build + QStringLiteral("/Contents/Info.plist");
    const auto info =
        PropertyList::readFile(infoPath, &error, FileSystem::kPropertyListLimit, FileSystem::Links::Refuse);
    if (info && info->root.typeId() != QMetaType::QVariantMap)
        error = QStringLiteral("Contents/Info.plist does not hold a dictionary");
    bool stamped = false;
    if (info && info->root.typeId() == QMetaType::QVariantMap) {
        QVariantMap dictionary = info->root.toMap();
        dictionary.insert(QStringLiteral("CFBundleName"), folder.name);
        dictionary.insert(QStringLiteral("CFBundleDisplayName"), folder.name);
        dictionary.insert(Protocol::groupIDKey, FolderID::canonical(folder.id));
        stamped = PropertyList::writeFileAtomically(infoPath, dictionary, info->format, &error);
    }
    if (!stamped) {
        const QString message = QStringLiteral("Trellin: Failed to stamp the helper bundle of folder %1: %2")
                                    .arg(FolderID::canonical(folder.id), error);
        Console::printLine(message);
        m_systemLog.write(message);
        FileSystem::removeItem(build);
        return std::nullopt;
    }
    return build;
}

bool HelperBundleBuilder::moveIntoPlace(const QString& build, const QString& destination) {
    const QByteArray from = QFile::encodeName(build);
    const QByteArray to = QFile::encodeName(destination);
    const auto failed = [&](const QString& what) {
        Console::printLine(QStringLiteral("Failed to copy app bundle: %1: %2").arg(what, FileSystem::errorText(errno)));
        return false;
    };
    struct stat existing {};
    if (::lstat(to.constData(), &existing) == 0) {
        if (!S_ISDIR(existing.st_mode)) {
            // A link or a file: removed as the entry it is, never what it points to.
            if (::unlink(to.constData()) != 0)
                return failed(QStringLiteral("cannot remove %1").arg(destination));
        } else if (ownGroupID(destination)) {
            // An old build of ours: out of the way first, so that the path always holds a whole bundle.
            const QString replaced =
                QDir(helpersDir())
                    .filePath(QLatin1String(kReplacedPrefix) + QFileInfo(build).fileName().mid(qstrlen(kBuildPrefix)));
            if (::rename(to.constData(), QFile::encodeName(replaced).constData()) != 0)
                return failed(QStringLiteral("cannot move %1 aside").arg(destination));
            if (::rename(from.constData(), to.constData()) != 0)
                return failed(QStringLiteral("cannot move the new bundle to %1").arg(destination));
            FileSystem::removeItem(replaced);
            return true;
        } else {
            // Someone else's: kept, under a name that is no longer a bundle's.
            const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            QString aside = destination + QStringLiteral(".moved-aside-") + stamp;
            for (int n = 2; FileSystem::entryExists(aside); ++n)
                aside = destination + QStringLiteral(".moved-aside-") + stamp + u'-' + QString::number(n);
            if (::rename(to.constData(), QFile::encodeName(aside).constData()) != 0)
                return failed(QStringLiteral("cannot move %1 aside").arg(destination));
            Console::printLine(QStringLiteral("[HelperManager] Moved %1, which Trellin did not build, aside to %2")
                                   .arg(destination, aside));
        }
    }
    if (::rename(from.constData(), to.constData()) != 0)
        return failed(QStringLiteral("cannot move the new bundle to %1").arg(destination));
    return true;
}

void HelperBundleBuilder::shareCode(const QString& bundlePath) const {
    // One file behind every helper's executable and modules: the system then keeps a single copy
    // of their code in memory for all the processes. Where linking is refused the copy stays;
    // the signature seals either.
    const QDir main(m_mainBundle.path());
    QStringList shared;
    if (!m_mainBundle.executablePath().isEmpty())
        shared << main.relativeFilePath(m_mainBundle.executablePath());
    const QString modules = QStringLiteral("Contents/PlugIns");
    for (const QString& name : QDir(main.filePath(modules)).entryList(QDir::Files | QDir::NoSymLinks))
        shared << modules + u'/' + name;
    for (const QString& relative : shared)
        FileSystem::replaceWithLink(main.filePath(relative), bundlePath + u'/' + relative);
}

bool HelperBundleBuilder::sign(const QString& path) {
    const std::optional<QString> identity = signingIdentity();
    const QStringList arguments =
        identity && !identity->isEmpty()
            ? QStringList{"--force", "--deep", "--sign", *identity, "--options", "runtime", "--timestamp", path}
            : QStringList{"--force", "--deep", "--sign", "-", "--timestamp=none", path};
    QProcess codesign;
    codesign.setProcessChannelMode(QProcess::ForwardedChannels);
    codesign.start(m_signingTool, arguments);
    if (!codesign.waitForStarted(-1)) {
        const QString message = QStringLiteral("Trellin: Failed to run codesign: ") + codesign.errorString();
        Console::printLine(message);
        m_systemLog.write(message);
        return false;
    }
    codesign.waitForFinished(-1);
    const int status = codesign.exitStatus() == QProcess::NormalExit ? codesign.exitCode() : -1;
    if (status != 0) {
        const QString message = QStringLiteral("Trellin: Codesign failed for %1 (exit code: %2)").arg(path).arg(status);
        Console::printLine(message);
        m_systemLog.write(message);
        return false;
    }
    return true;
}

std::optional<QString> HelperBundleBuilder::signingIdentity() const {
    // The application's own signature does not change while it runs; one look serves every helper.
    if (!m_signingIdentity)
        m_signingIdentity = lookUpSigningIdentity();
    return *m_signingIdentity;
}

std::optional<QString> HelperBundleBuilder::lookUpSigningIdentity() const {
    QProcess codesign;
    codesign.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    codesign.start(m_signingTool, {"-dv", "--verbose=4", m_mainBundle.path()});
    codesign.waitForFinished(-1);
    const QByteArray bytes = codesign.readAllStandardError();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(QStringLiteral("Authority=")))
            return line.mid(10);
    }
    return std::nullopt;
}

bool HelperBundleBuilder::isHelperExecutableOutdated(const QString& helperPath, const QString& applicationPath) const {
    QString name = QFileInfo(m_mainBundle.executablePath()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("Trellin");
    const QDateTime helperDate = QFileInfo(helperPath + QStringLiteral("/Contents/MacOS/") + name).lastModified();
    const QDateTime appDate = QFileInfo(applicationPath + QStringLiteral("/Contents/MacOS/") + name).lastModified();
    if (!helperDate.isValid() || !appDate.isValid())
        return false;
    return helperDate < appDate;
}

void HelperBundleBuilder::stripExtendedAttributes(const QString& bundlePath) {
    const auto strip = [](const QString& path) {
        const QByteArray encoded = QFile::encodeName(path);
        // A file with other names (the executable shared with the application) has its
        // attributes in common with them; they are not this bundle's to remove.
        struct stat status {};
        if (::lstat(encoded.constData(), &status) != 0 || (S_ISREG(status.st_mode) && status.st_nlink > 1))
            return;
        // The l- calls act on a link itself: a link in the bundle must not lead the clean-up out.
        const ssize_t size = ::llistxattr(encoded.constData(), nullptr, 0);
        if (size <= 0)
            return;
        QByteArray names(size, '\0');
        const ssize_t got = ::llistxattr(encoded.constData(), names.data(), size_t(names.size()));
        if (got <= 0)
            return;
        for (const QByteArray& name : names.left(got).split('\0')) {
            if (!name.isEmpty())
                ::lremovexattr(encoded.constData(), name.constData());
        }
    };
    strip(bundlePath);
    QDirIterator it(bundlePath, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        strip(it.next());
}
