#pragma once
// The templates of archives.h (they need GoogleTest's assertions).

#include <gtest/gtest.h>

namespace plat::testing {

template <class T>
void expectSameGetters(const T& a, const T& b, std::initializer_list<SameGetter<T>> getters) {
    for (const auto& getter : getters) EXPECT_TRUE(getter.same(a, b)) << getter.name << " differs";
}

template <class T>
void expectSameAsFromFrame(const std::string& cls, const Rect& frame, std::initializer_list<SameGetter<T>> getters) {
    SCOPED_TRACE(cls);
    const auto fromFrame = T::create(frame);
    const auto fromCoder = decodeView<T>(cls, frame);
    ASSERT_TRUE(fromCoder) << cls << " made another class";
    expectSameViewTree(*fromFrame, *fromCoder);
    expectSameGetters(*fromFrame, *fromCoder, getters);
}

}  // namespace plat::testing
