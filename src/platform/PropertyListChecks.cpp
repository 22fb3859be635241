#include "PropertyListChecks.h"

#include <QByteArrayView>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

quint64 bigEndian(const char* bytes, int size) {
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | uchar(bytes[i]);
    return value;
}

// A binary property list's own tables: the trailer, the offset table and the objects it points
// to. Anything these cannot follow is left to the library, which refuses it.
class BinaryTables {
public:
    static std::optional<BinaryTables> of(const QByteArray& bytes) {
        BinaryTables tables;
        tables.m_data = bytes.constData();
        const auto size = quint64(bytes.size());
        if (size < headerSize + trailerSize)
            return std::nullopt;
        tables.m_objectsEnd = size - trailerSize;
        const char* const trailer = tables.m_data + tables.m_objectsEnd;
        tables.m_offsetSize = uchar(trailer[6]);
        tables.m_referenceSize = uchar(trailer[7]);
        tables.m_count = bigEndian(trailer + 8, 8);
        tables.m_top = bigEndian(trailer + 16, 8);
        tables.m_table = bigEndian(trailer + 24, 8);
        if (tables.m_offsetSize < 1 || tables.m_offsetSize > 8 || tables.m_referenceSize < 1 ||
            tables.m_referenceSize > 8 || tables.m_table > tables.m_objectsEnd ||
            tables.m_count > (tables.m_objectsEnd - tables.m_table) / quint64(tables.m_offsetSize))
            return std::nullopt;
        return tables;
    }

    quint64 count() const { return m_count; }
    quint64 top() const { return m_top; }
    const char* data() const { return m_data; }
    quint64 objectsEnd() const { return m_objectsEnd; }

    // Where object `index` starts.
    std::optional<quint64> offsetOf(quint64 index) const {
        if (index >= m_count)
            return std::nullopt;
        const quint64 offset = bigEndian(m_data + m_table + index * quint64(m_offsetSize), m_offsetSize);
        if (offset < headerSize || offset >= m_objectsEnd)
            return std::nullopt;
        return offset;
    }
    int typeAt(quint64 offset) const { return uchar(m_data[offset]) >> 4; }

    // An object's element count, from its marker or the integer that follows it, and where its
    // elements start.
    std::optional<std::pair<quint64, quint64>> elementsAt(quint64 offset) const {
        const int low = uchar(m_data[offset]) & 0x0F;
        if (low != 0x0F)
            return std::pair(quint64(low), offset + 1);
        if (offset + 2 > m_objectsEnd || (uchar(m_data[offset + 1]) & 0xF0) != 0x10)
            return std::nullopt;
        const int width = 1 << (uchar(m_data[offset + 1]) & 0x0F);
        if (width > 8 || offset + 2 + quint64(width) > m_objectsEnd)
            return std::nullopt;
        return std::pair(bigEndian(m_data + offset + 2, width), offset + 2 + quint64(width));
    }

    // The references of the container at `offset` (a dictionary's keys, then its values): where they
    // start and how many there are; none for anything that is no container or runs past the end.
    std::optional<std::pair<quint64, quint64>> referencesAt(quint64 offset) const {
        const int type = typeAt(offset);
        if (type != 0xA && type != 0xB && type != 0xC && type != 0xD)
            return std::nullopt;
        std::optional<std::pair<quint64, quint64>> elements = elementsAt(offset);
        if (!elements)
            return std::nullopt;
        auto [count, first] = *elements;
        if (type == 0xD)
            count = count > std::numeric_limits<quint64>::max() / 2 ? 0 : count * 2;
        if (count > (m_objectsEnd - first) / quint64(m_referenceSize))
            return std::nullopt;
        return std::pair(first, count);
    }
    quint64 reference(quint64 first, quint64 index) const {
        return bigEndian(m_data + first + index * quint64(m_referenceSize), m_referenceSize);
    }

private:
    static constexpr quint64 headerSize = 8;
    static constexpr quint64 trailerSize = 32;

    const char* m_data = nullptr;
    quint64 m_objectsEnd = 0;
    int m_offsetSize = 0;
    int m_referenceSize = 0;
    quint64 m_count = 0;
    quint64 m_top = 0;
    quint64 m_table = 0;
};

} // namespace

bool PropertyListChecks::binaryKeyHoldsNul(const QByteArray& bytes) {
    const std::optional<BinaryTables> tables = BinaryTables::of(bytes);
    if (!tables)
        return false;
    const auto stringHoldsNul = [&](quint64 offset) {
        const int type = tables->typeAt(offset);
        const quint64 unit = type == 0x5 ? 1 : type == 0x6 ? 2 : 0; // ASCII, UTF-16
        const auto elements = unit ? tables->elementsAt(offset) : std::nullopt;
        if (!elements || elements->first > (tables->objectsEnd() - elements->second) / unit)
            return false;
        for (quint64 i = 0; i < elements->first; ++i) {
            const char* const character = tables->data() + elements->second + i * unit;
            if (character[0] == 0 && (unit == 1 || character[1] == 0))
                return true;
        }
        return false;
    };

    // Each object is looked at once, however many entries of the offset table name it.
    QSet<quint64> dictionaries;
    QHash<quint64, bool> keys;
    for (quint64 index = 0; index < tables->count(); ++index) {
        const std::optional<quint64> offset = tables->offsetOf(index);
        if (!offset || tables->typeAt(*offset) != 0xD || dictionaries.contains(*offset))
            continue;
        dictionaries.insert(*offset);
        const auto references = tables->referencesAt(*offset);
        if (!references)
            continue;
        // The keys are the first half.
        for (quint64 entry = 0; entry < references->second / 2; ++entry) {
            const std::optional<quint64> key = tables->offsetOf(tables->reference(references->first, entry));
            if (!key)
                continue;
            auto known = keys.constFind(*key);
            if (known == keys.cend())
                known = keys.insert(*key, stringHoldsNul(*key));
            if (*known)
                return true;
        }
    }
    return false;
}

std::optional<QString> PropertyListChecks::binaryShapeFault(const QByteArray& bytes, int limit, quint64 maxValues) {
    const std::optional<BinaryTables> tables = BinaryTables::of(bytes);
    if (!tables || tables->top() >= tables->count())
        return std::nullopt;
    struct Frame {
        quint64 object;
        std::pair<quint64, quint64> references; // where they start, how many
        quint64 next = 0;
        int below = 0;
        quint64 values = 1;
    };
    const auto frameOf = [&](quint64 object) {
        const std::optional<quint64> offset = tables->offsetOf(object);
        const auto references = offset ? tables->referencesAt(*offset) : std::nullopt;
        return Frame{object, references.value_or(std::pair<quint64, quint64>(0, 0))};
    };

    // Depth first, each object worked out once however many containers refer to it.
    constexpr qint16 unvisited = -1;
    constexpr qint16 onPath = -2;
    std::vector<qint16> depthOf(tables->count(), unvisited);
    std::vector<quint64> valuesOf(tables->count(), 0);
    const auto deeper = [&] { return QStringLiteral("nested deeper than %1 levels").arg(limit); };
    const auto larger = [&] { return QStringLiteral("more than %1 values").arg(maxValues); };
    std::vector<Frame> path{frameOf(tables->top())};
    depthOf[tables->top()] = onPath;
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.next < frame.references.second) {
            const quint64 child = tables->reference(frame.references.first, frame.next++);
            if (child >= tables->count())
                continue;
            if (depthOf[child] == onPath)
                return QStringLiteral("a container holds itself");
            if (depthOf[child] >= 0) {
                frame.below = std::max<int>(frame.below, depthOf[child]);
                frame.values += valuesOf[child];
                if (frame.values > maxValues)
                    return larger();
                continue;
            }
            if (int(path.size()) >= limit)
                return deeper();
            depthOf[child] = onPath;
            path.push_back(frameOf(child));
            continue;
        }
        const int depth = frame.below + 1;
        const quint64 values = frame.values;
        depthOf[frame.object] = qint16(depth);
        valuesOf[frame.object] = values;
        path.pop_back();
        if (!path.empty()) {
            path.back().below = std::max(path.back().below, depth);
            path.back().values += values;
            if (path.back().values > maxValues)
                return larger();
        }
    }
    return std::nullopt;
}

int PropertyListChecks::xmlDepth(const QByteArray& xml, int limit) {
    int depth = 0;
    int deepest = 0;
    qsizetype at = 0;
    const auto startsHere = [&](const char* text) { return QByteArrayView(xml).sliced(at).startsWith(text); };
    const auto skipPast = [&](const char* end) {
        const qsizetype found = xml.indexOf(end, at);
        at = found < 0 ? xml.size() : found + qsizetype(std::strlen(end));
    };
    while ((at = xml.indexOf('<', at)) >= 0) {
        if (startsHere("<!--")) {
            skipPast("-->");
        } else if (startsHere("<![CDATA[")) {
            skipPast("]]>");
        } else if (at + 1 < xml.size() && (xml.at(at + 1) == '?' || xml.at(at + 1) == '!')) {
            skipPast(">");
        } else if (at + 1 < xml.size() && xml.at(at + 1) == '/') {
            --depth;
            skipPast(">");
        } else {
            const qsizetype close = xml.indexOf('>', at);
            if (close < 0)
                break;
            if (xml.at(close - 1) != '/') {
                deepest = std::max(deepest, ++depth);
                if (deepest > limit)
                    return deepest;
            }
            at = close + 1;
        }
    }
    return deepest;
}
