#include "FolderDocument.h"

#include "FolderCodec.h"
#include "FolderID.h"
#include "JsonWriter.h"
#include "Timestamp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>

#include <cmath>

namespace {

using FolderDocument::Failure;
using FolderDocument::Refusal;

// The document wraps the folders file's array in one object.
constexpr int kMaxDepth = FolderCodec::kMaxDepth + 1;

QString versionText(double number) {
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

} // namespace

std::optional<QByteArray> FolderDocument::encode(const QList<AppFolder>& folders, QString* error) {
    const std::optional<QByteArray> records = FolderCodec::encode(folders, error);
    if (!records)
        return std::nullopt;
    JsonWriter header;
    header.beginObject();
    header.key("format");
    header.value(format);
    header.key("version");
    header.value(double(version));
    header.key("folders");
    // The records are the folders file's own bytes, so nothing is rewritten on the way.
    return header.bytes() + *records + QByteArrayLiteral("}\n");
}

std::variant<QList<AppFolder>, Failure> FolderDocument::decode(const QByteArray& bytes, const QDateTime& now) {
    if (FolderCodec::nestsDeeperThan(bytes, kMaxDepth))
        return Failure{Refusal::NotADocument, QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth)};
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Failure{
            Refusal::NotADocument,
            QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset)};
    if (!document.isObject())
        return Failure{Refusal::NotADocument, QStringLiteral("expected a JSON object")};
    const QJsonObject object = document.object();

    const QJsonValue formatValue = object.value(QStringLiteral("format"));
    if (!formatValue.isString())
        return Failure{Refusal::NotADocument, QStringLiteral("no \"format\"")};
    if (formatValue.toString() != format)
        return Failure{Refusal::NotADocument,
                       QStringLiteral("its format is \"%1\", not \"%2\"").arg(formatValue.toString(), format)};

    const QJsonValue versionValue = object.value(QStringLiteral("version"));
    if (!versionValue.isDouble())
        return Failure{Refusal::Damaged, QStringLiteral("no \"version\" number")};
    const double number = versionValue.toDouble();
    if (!std::isfinite(number) || number != std::floor(number))
        return Failure{Refusal::Damaged, QStringLiteral("version %1 is not a whole number").arg(versionText(number))};
    if (number < 1)
        return Failure{Refusal::Damaged, QStringLiteral("there is no version %1").arg(versionText(number))};
    if (number > version)
        return Failure{Refusal::FutureVersion, QStringLiteral("version %1").arg(versionText(number))};

    const QJsonValue foldersValue = object.value(QStringLiteral("folders"));
    if (!foldersValue.isArray())
        return Failure{Refusal::Damaged, QStringLiteral("no \"folders\" list")};
    QString error;
    const std::optional<QList<AppFolder>> folders =
        FolderCodec::decode(foldersValue.toArray(), Timestamp::fromUnix(now.toMSecsSinceEpoch() / 1000.0), &error);
    if (!folders)
        return Failure{Refusal::Damaged, error.replace(QStringLiteral(" at ["), QStringLiteral(" at folders["))};
    // A merge by id could not tell which of two records with one id is meant.
    QSet<QUuid> ids;
    for (qsizetype i = 0; i < folders->size(); ++i) {
        const QUuid id = folders->at(i).id;
        if (ids.contains(id))
            return Failure{
                Refusal::Damaged,
                QStringLiteral("folder id %1 appears twice, again at folders[%2]").arg(FolderID::canonical(id)).arg(i)};
        ids.insert(id);
    }
    return *folders;
}

QString FolderDocument::describe(const Failure& failure) {
    const auto withDetail = [&](const QString& line) {
        return failure.detail.isEmpty() ? line : line + QStringLiteral(": ") + failure.detail;
    };
    QString line;
    switch (failure.refusal) {
    case Refusal::NotADocument:
        line = withDetail(QStringLiteral("not a Trellin folders document"));
        break;
    case Refusal::FutureVersion:
        line = QStringLiteral("the folders document is %1, from a newer Trellin (this one reads version %2)")
                   .arg(failure.detail.isEmpty() ? QStringLiteral("of a later version") : failure.detail)
                   .arg(version);
        break;
    case Refusal::Damaged:
        line = withDetail(QStringLiteral("the folders document is damaged"));
        break;
    }
    // One line, whatever a detail quoted from the document holds.
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    return line;
}
