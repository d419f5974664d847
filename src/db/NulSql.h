#pragma once

// What a database stores as NULL, read from a value without going through QVariant's calls
// where the type allows: bound and compared values pass here by the hundred thousand.

#include <QVariant>

namespace vyk {

// Whether a value of type `type` (v.typeId(), when the caller has it already) is stored as NULL.
inline bool estNulSql(const QVariant &v, int type)
{
    switch (type) {
    case QMetaType::UnknownType:
        return true;
    // Their null flag is read directly.
    case QMetaType::QString:
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
        return v.data_ptr().is_null;
    default:
        return v.isNull();
    }
}

inline bool estNulSql(const QVariant &v)
{
    return estNulSql(v, v.typeId());
}

} // namespace vyk
