#include "VersionComparison.h"

#include <QList>
#include <QStringView>

namespace {

struct Run {
    bool numeric = false;
    QStringView text; // digits without leading zeros, or letters
};

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QList<Run> runsOf(QStringView version) {
    QList<Run> runs;
    qsizetype i = 0;
    while (i < version.size()) {
        const QChar c = version[i];
        qsizetype end = i + 1;
        if (isAsciiDigit(c)) {
            while (end < version.size() && isAsciiDigit(version[end]))
                ++end;
            QStringView digits = version.sliced(i, end - i);
            while (digits.size() > 1 && digits.front() == u'0')
                digits = digits.sliced(1);
            runs.append({true, digits});
        } else if (c.isLetter()) {
            while (end < version.size() && version[end].isLetter())
                ++end;
            runs.append({false, version.sliced(i, end - i)});
        }
        i = end;
    }
    return runs;
}

// Numbers as digit strings, so a build number longer than any integer type still orders rightly.
int compareNumbers(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int VersionComparison::compare(const QString& a, const QString& b) {
    const QList<Run> left = runsOf(QStringView(a).trimmed());
    const QList<Run> right = runsOf(QStringView(b).trimmed());
    const Run zero{true, u"0"};
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const bool leftEnded = i >= left.size();
        const bool rightEnded = i >= right.size();
        // A tag is older than whatever stands in its place, the end included.
        if (!leftEnded && !left[i].numeric && (rightEnded || right[i].numeric))
            return -1;
        if (!rightEnded && !right[i].numeric && (leftEnded || left[i].numeric))
            return 1;
        const Run& l = leftEnded ? zero : left[i];
        const Run& r = rightEnded ? zero : right[i];
        const int order = l.numeric ? compareNumbers(l.text, r.text) : l.text.compare(r.text, Qt::CaseInsensitive);
        if (order != 0)
            return sign(order);
    }
    return 0;
}
