// A place in an editor buffer as the IDE takes it: column and line, both from 1.
#pragma once

#include <cstdint>

namespace vesk {

struct TEditPos {
    std::int16_t Col = 1;
    std::int32_t Line = -1; // -1: no position was found
};

inline bool operator==(const TEditPos& a, const TEditPos& b) {
    return a.Col == b.Col && a.Line == b.Line;
}

} // namespace vesk
