#pragma once

#include <QTest>

// The four looks every gallery is drawn in, as data rows: both languages in both themes. A row's
// tag ("uk-dark") names the picture it writes.
inline void addGalleryLooks() {
    QTest::addColumn<bool>("ukrainian");
    QTest::addColumn<bool>("dark");
    QTest::newRow("en-light") << false << false;
    QTest::newRow("en-dark") << false << true;
    QTest::newRow("uk-light") << true << false;
    QTest::newRow("uk-dark") << true << true;
}
