#include <gtest/gtest.h>

#include <functional>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriPie/OmbriPieSegment.h"
#include "Platform/runtime/async_semaphore.h"
#include "touch_fixture.h"

namespace {

class PieUpdate : public pie_testing::PieTouch {
protected:
    const std::shared_ptr<OmbriPieControl>& view() const { return pie->pieControl(); }
    void add(double value) {
        const auto n = pie->collectionView()->items()->size();
        pie->collectionView()->addObject(plat::Value(plat::Dictionary{{"name", "s" + std::to_string(n)}, {"value", value}}));
    }
    // Waits out the hand-over, draws the old values (which arms the start) and lets the start run.
    void handOver() {
        clock.advance(OmbriPie::UpdateHandOverDelay);
        display();
        plat::RunLoop::main().runUntilIdle();
    }
    // The frame on screen: the values, a sum that is what they add up to, and slices that fill one turn.
    void expectFrame(const std::vector<double>& values, const std::string& what) {
        ASSERT_EQ(view()->values().size(), values.size()) << what;
        double sum = 0;
        for (std::size_t k = 0; k < values.size(); ++k) {
            EXPECT_NEAR(view()->values()[k], values[k], 1e-9) << what << " slice " << k;
            sum += std::abs(values[k]);
        }
        EXPECT_NEAR(view()->sum(), sum, 1e-9) << what;
        display();
        if (sum <= 0) return;
        double turned = 0;
        for (const auto& a : view()->areas()) turned += std::dynamic_pointer_cast<OmbriSliceSegment>(a)->sweep();
        EXPECT_NEAR(turned, 2 * Pi, 1e-10) << what;
    }
    void expectIdle(const std::string& what) {
        EXPECT_EQ(view()->semaphore()->count(), 1) << what;
        EXPECT_FALSE(view()->isUpdating()) << what;
        EXPECT_EQ(view()->preValues(), view()->values()) << what;
    }
};

}  // namespace

// The default update animation: 1 s of cubic ease-in, so half way the change is 1/8 done.
TEST_F(PieUpdate, EachKindEasesFromTheOldPieToTheNewOne) {
    struct Frame {
        double after;  // seconds since the previous frame
        std::vector<double> values;
    };
    struct Case {
        const char* what;
        std::vector<double> start;
        std::function<void()> change;
        std::vector<Frame> frames;
    };
    const Case cases[] = {
        {"adding 30 to 10, 20: the new slice grows from 0",
         {10, 20},
         [&] { add(30); },
         {{0, {10, 20, 0}}, {0.5, {10, 20, 3.75}}, {0.6, {10, 20, 30}}}},
        {"removing the middle of three slices: it shrinks to 0, then goes",
         {10, 20, 30},
         [&] { pie->collectionView()->removeAt(1); },
         {{0, {10, 20, 30}}, {0.5, {10, 17.5, 30}}, {0.6, {10, 30}}}},
        {"replacing with other values moves them",
         {10, 20},
         [&] {
             pie->collectionView()->replaceObjectAtIndex(1, plat::Value(plat::Dictionary{{"name", "s1"}, {"value", 60.0}}));
         },
         {{0, {10, 20}}, {0.5, {10, 25}}, {0.6, {10, 60}}}},
        {"two adds within the wait are handed over together and grow together",
         {10, 20},
         [&] {
             add(30);
             clock.advance(0.1);
             add(40);
         },
         {{0, {10, 20, 0, 0}}, {0.5, {10, 20, 3.75, 5}}, {0.6, {10, 20, 30, 40}}}},
        {"an add of two items grows the first; the second shows at once",
         {10, 20},
         [&] {
             pie->collectionView()->addObjects(plat::Array{plat::Value(plat::Dictionary{{"name", "a"}, {"value", 30.0}}),
                                                           plat::Value(plat::Dictionary{{"name", "b"}, {"value", 40.0}})});
         },
         {{0, {10, 20, 0, 40}}, {0.5, {10, 20, 3.75, 40}}, {0.6, {10, 20, 30, 40}}}},
    };
    for (const auto& c : cases) {
        show(c.start);
        c.change();
        handOver();
        for (const auto& f : c.frames) {
            clock.advance(f.after);
            expectFrame(f.values, c.what);
        }
        expectIdle(c.what);
    }
}

TEST_F(PieUpdate, AnEqualReplaceRunsForTheWholeDuration) {
    show({10, 20});
    pie->collectionView()->replaceObjectAtIndex(1, plat::Value(plat::Dictionary{{"name", "s1"}, {"value", 20.0}}));
    handOver();
    clock.advance(0.9);
    expectFrame({10, 20}, "nearly done");
    EXPECT_TRUE(view()->isUpdating());
    EXPECT_EQ(view()->semaphore()->count(), 0);
    clock.advance(0.2);
    expectIdle("done");
}

TEST_F(PieUpdate, TheStartWaitsForItsDelayShowingTheOldPieAndManyPassesStartOneTimer) {
    show({10, 20});
    view()->updateAnimation()->setStartDelay(0.5);
    add(30);
    handOver();
    display();
    display();  // three passes while the update waits for its start
    clock.advance(0.4);
    EXPECT_TRUE(view()->isUpdateAnimated());
    display();
    EXPECT_EQ(view()->areas().size(), 2u);  // the old pie
    clock.advance(0.1);
    expectFrame({10, 20, 0}, "the start");
    clock.advance(0.5);
    expectFrame({10, 20, 3.75}, "half way");
    clock.advance(0.5);
    expectIdle("the end");
    clock.advance(1);  // a second start would have taken the permit again, or given back another
    EXPECT_EQ(view()->semaphore()->count(), 1);
}

TEST_F(PieUpdate, ZeroDurationsAndSumsThatAreNotPositiveEndAtOnceWithTheFinalValues) {
    show({10, 20});
    view()->updateAnimation()->setDuration(0);
    add(30);
    handOver();
    expectFrame({10, 20, 30}, "zero duration");
    expectIdle("zero duration");

    view()->updateAnimation()->setDuration(1);
    show({5});
    pie->collectionView()->removeAt(0);
    handOver();
    expectFrame({}, "nothing left");
    expectIdle("nothing left");
    clock.advance(0.5);
    EXPECT_EQ(view()->semaphore()->count(), 1);  // given back once, not at every tick
}

TEST_F(PieUpdate, AChangeTheRoadCannotAnimateIsStillShown) {
    show({10, 20});
    pie->collectionView()->addObject(plat::Value(plat::Dictionary{{"name", "s2"}, {"value", "30"}}));  // not a number
    handOver();
    expectFrame({10, 20, 0}, "a value that is not a number");
    expectIdle("a value that is not a number");

    pie->setBinding(std::nullopt);
    handOver();
    add(30);
    handOver();
    EXPECT_EQ(pie->labels().size(), 4u);
    expectFrame({0, 0, 0, 0}, "no binding");
    expectIdle("no binding");
}

TEST_F(PieUpdate, AnUpdateStartsFromTheValuesOnScreenWhateverReboundThem) {
    show({10, 20});
    pie->setItemsSource(pie_testing::valueItems({40, 50, 60}));
    display();
    clock.advance(1.1);
    EXPECT_EQ(view()->preValues(), (std::vector<double>{40, 50, 60}));
    pie->collectionView()->removeAt(1);
    handOver();
    expectFrame({40, 50, 60}, "the start");
    clock.advance(0.5);
    expectFrame({40, 43.75, 60}, "half way");
    clock.advance(0.6);
    expectFrame({40, 60}, "the end");
}

TEST_F(PieUpdate, WhileTheOldSlicesAreDrawnTheyKeepTheirOldNames) {
    pie->dataLabel()->setPosition(KivoPieLabelPositionInside);
    pie->dataLabel()->setContent("{name}");
    show({10, 20, 30});
    const auto drawnNames = [&] {
        display();
        std::vector<std::string> names;
        for (const auto* t : rec.texts()) names.push_back(t->text.text);
        return names;
    };
    pie->collectionView()->removeAt(1);
    clock.advance(OmbriPie::UpdateHandOverDelay);
    const std::vector<std::string> old{"s0", "s1", "s2"};
    EXPECT_EQ(drawnNames(), old);  // handed over: the old pie waits for its start
    plat::RunLoop::main().runUntilIdle();
    clock.advance(0.5);
    EXPECT_EQ(drawnNames(), old);  // s1 shrinking
    clock.advance(0.6);
    EXPECT_EQ(drawnNames(), (std::vector<std::string>{"s0", "s2"}));
}
