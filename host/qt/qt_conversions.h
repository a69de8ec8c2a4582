#pragma once
// The host's plain types as Qt's and back.

#include <QRect>
#include <QString>
#include <string_view>

#include "host/types.h"

namespace host::qt {

inline QRect qtRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
inline Rect hostRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace host::qt
