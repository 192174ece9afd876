#pragma once
// Model objects of ten numeric properties, c0 … c9 = n … n + 9: the wide grids of the scrolling,
// selection and view-operation tests.

#include "Platform/foundation/object.h"
#include "Platform/foundation/reflect.h"
#include "Platform/foundation/value.h"

namespace grid_test {

class Wide : public plat::Object {
public:
    PLAT_CLASS()
    Wide() = default;
    explicit Wide(long n)
        : c0(n), c1(n + 1), c2(n + 2), c3(n + 3), c4(n + 4), c5(n + 5), c6(n + 6), c7(n + 7), c8(n + 8), c9(n + 9) {}
    long c0 = 0, c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0, c6 = 0, c7 = 0, c8 = 0, c9 = 0;
};

// Item i starts at i × step.
plat::ArrayPtr wideItems(long count, long step = 1);

}  // namespace grid_test
