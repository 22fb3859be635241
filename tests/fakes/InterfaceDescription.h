#pragma once

#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>

// What a D-Bus interface description says of our interfaces, one line per member:
// "interface.Method argtypes…" and "interface.Property type access". Both what an object serves
// and the documents in docs/dbus/ read this way, so the two can be compared as lists.
inline QStringList describedMembers(const QByteArray& description) {
    QStringList found;
    QXmlStreamReader xml(description);
    QString interface;
    bool inMethod = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"method")
            inMethod = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"interface") {
            interface = attributes.value("name").toString();
        } else if (xml.name() == u"method") {
            found << interface + '.' + attributes.value("name");
            inMethod = true;
        } else if (xml.name() == u"property") {
            found << interface + '.' + attributes.value("name") + ' ' + attributes.value("type") + ' ' +
                         attributes.value("access");
        } else if (xml.name() == u"arg" && inMethod) {
            found.last() += ' ' + attributes.value("type");
        }
    }
    return found.filter(QStringLiteral("app.trellin."));
}

// The names of the interfaces a document describes, ours only.
inline QStringList describedInterfaces(const QByteArray& description) {
    QStringList found;
    QXmlStreamReader xml(description);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"interface")
            found << xml.attributes().value("name").toString();
    }
    return found.filter(QStringLiteral("app.trellin."));
}

inline QByteArray documentedInterface(const QString& fileName) {
    QFile file(QStringLiteral(TRELLIN_SOURCE_DIR "/docs/dbus/") + fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
