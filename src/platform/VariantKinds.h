#pragma once

#include <QMetaType>

// Which property-list number a QVariant holds, whatever integer width Qt chose for it.
namespace VariantKinds {

inline bool isSignedInteger(int typeId) {
    switch (typeId) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return true;
    default:
        return false;
    }
}

inline bool isUnsignedInteger(int typeId) {
    switch (typeId) {
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

inline bool isReal(int typeId) {
    return typeId == QMetaType::Double || typeId == QMetaType::Float;
}

// A number in the platform's sense: booleans are numbers too.
inline bool isNumber(int typeId) {
    return typeId == QMetaType::Bool || isSignedInteger(typeId) || isUnsignedInteger(typeId) || isReal(typeId);
}

} // namespace VariantKinds
