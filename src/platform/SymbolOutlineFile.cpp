#include "SymbolOutlineFile.h"

#include "FileSystem.h"

#include <QDataStream>
#include <QFile>

namespace {

constexpr quint32 kMagic = 0x5452534F; // "TRSO"
constexpr quint32 kVersion = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

} // namespace

SymbolOutlineFile::SymbolOutlineFile(QString path)
    : m_path(std::move(path)) {}

std::optional<QPainterPath> SymbolOutlineFile::outline(const QString& name) {
    if (const auto known = m_read.constFind(name); known != m_read.cend())
        return *known;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Mapped, not read: the pages stay the file's, shared by every process that draws symbols.
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(file.size()));
    QDataStream in(bytes);
    in.setVersion(kStreamVersion);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (magic != kMagic || version != kVersion)
        return std::nullopt;
    while (in.status() == QDataStream::Ok && !in.atEnd()) {
        QString entry;
        quint32 size = 0;
        in >> entry >> size;
        if (in.status() != QDataStream::Ok)
            break;
        if (entry != name) {
            if (in.skipRawData(int(size)) != int(size))
                break;
            continue;
        }
        QPainterPath path;
        in >> path;
        if (in.status() != QDataStream::Ok)
            break;
        m_read.insert(name, path);
        return path;
    }
    return std::nullopt;
}

bool SymbolOutlineFile::write(const QString& path, const QList<std::pair<QString, QPainterPath>>& outlines,
                              QString* error) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kMagic << kVersion;
    for (const auto& [name, outline] : outlines) {
        QByteArray encoded;
        QDataStream pathOut(&encoded, QIODevice::WriteOnly);
        pathOut.setVersion(kStreamVersion);
        pathOut << outline;
        out << name << quint32(encoded.size());
        out.writeRawData(encoded.constData(), int(encoded.size()));
    }
    return FileSystem::writeFileAtomically(path, bytes, error);
}
