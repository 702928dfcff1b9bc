// The pictures of classes: the library's own, drawn here, and for any other class a
// tile with its initials. The palette's buttons and the designer's tiles of
// non-visual components show them.
#pragma once

#include <QIcon>

namespace vesk {

class TClassInfo;

constexpr int ClassIconSize = 24;

QIcon ClassIcon(const TClassInfo& classInfo);
// The palette's pointer: back to selecting.
QIcon PointerIcon();

} // namespace vesk
