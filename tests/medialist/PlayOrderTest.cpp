// The play order under the three loop modes, with the wrap at the last row.
#include <medialist/PlayOrder.h>

#include <gtest/gtest.h>

#include <deque>

using namespace qinglan::medialist;

namespace {

// Random indexes taken from a script, so random mode can be followed.
struct ScriptedRandom {
    std::deque<int> next;
    int calls = 0;
    std::function<int(int)> fn() {
        return [this](int count) {
            ++calls;
            int v = next.empty() ? 0 : next.front();
            if (!next.empty()) next.pop_front();
            EXPECT_LT(v, count);
            return v;
        };
    }
};

} // namespace

TEST(PlayOrder, SelectionTakesRowsInRangeAndMinusOneOnly) {
    ListPosition l{3, 1};
    l.select(2);
    EXPECT_EQ(l.selected, 2);
    l.select(3);
    EXPECT_EQ(l.selected, 2); // past the end: unchanged
    l.select(-2);
    EXPECT_EQ(l.selected, 2);
    l.select(-1);
    EXPECT_EQ(l.selected, -1);
}

TEST(PlayOrder, SequentialPlaysTheLastRowOnceThenWrapsToTheFirst) {
    PlayOrder order;
    ListPosition l{3, 1}; // row 1 playing
    EXPECT_EQ(order.advanceAtEnd(l), 2);
    EXPECT_TRUE(order.wrapLatch());
    EXPECT_EQ(order.advanceAtEnd(l), 0);
    EXPECT_FALSE(order.wrapLatch());
    EXPECT_EQ(order.advanceAtEnd(l), 1);
    EXPECT_EQ(order.advanceAtEnd(l), 2);
    EXPECT_EQ(order.advanceAtEnd(l), 0);
}

TEST(PlayOrder, WithNoRowSelectedTheAdvancePlaysTheFirstRow) {
    PlayOrder order;
    ListPosition l{3, -1};
    EXPECT_EQ(order.advanceAtEnd(l), 0);
    ListPosition empty{0, -1};
    EXPECT_EQ(order.advanceAtEnd(empty), -1);
    EXPECT_EQ(order.playNext(empty), -1);
    EXPECT_EQ(order.playPrevious(empty), -1);
    order.setLoopMode(LoopMode::Random);
    EXPECT_EQ(order.advanceAtEnd(empty), -1);
}

TEST(PlayOrder, SingleLoopRepeatsEvenTheLastRowAndNextStillMovesOn) {
    PlayOrder order;
    order.setLoopMode(LoopMode::RepeatOne);
    ListPosition l{3, 2};
    EXPECT_EQ(order.advanceAtEnd(l), 2);
    EXPECT_EQ(order.advanceAtEnd(l), 2);
    l.selected = 0;
    EXPECT_EQ(order.playNext(l), 1);
    EXPECT_EQ(order.playNext(l), 2);
    EXPECT_EQ(order.playNext(l), 0); // the latch set at row 2 wraps
    EXPECT_EQ(order.playPrevious(l), 2);
}

TEST(PlayOrder, PreviousFromTheFirstRowPlaysTheLastAndTheEndOfItWraps) {
    PlayOrder order;
    ListPosition l{3, 0};
    EXPECT_EQ(order.playPrevious(l), 2);
    EXPECT_EQ(order.advanceAtEnd(l), 0);
    ListPosition none{3, -1};
    EXPECT_EQ(order.playPrevious(none), 2);
}

TEST(PlayOrder, RandomModeWithOneRowAlwaysPlaysIt) {
    ScriptedRandom r;
    PlayOrder order(r.fn());
    order.setLoopMode(LoopMode::Random);
    ListPosition l{1, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(order.advanceAtEnd(l), 0);
        EXPECT_EQ(order.playNext(l), 0);
        EXPECT_EQ(order.playPrevious(l), 0);
    }
}

TEST(PlayOrder, RandomModePicksAmongAllRows) {
    ScriptedRandom r{{2, 0, 1, 1}};
    PlayOrder order(r.fn());
    order.setLoopMode(LoopMode::Random);
    ListPosition l{3, -1};
    EXPECT_EQ(order.advanceAtEnd(l), 2);
    EXPECT_EQ(order.playNext(l), 0);
    EXPECT_EQ(order.playPrevious(l), 1);
    EXPECT_EQ(r.calls, 3);
    // The default source stays in range.
    PlayOrder real;
    real.setLoopMode(LoopMode::Random);
    ListPosition many{7, -1};
    for (int i = 0; i < 200; ++i) {
        const int row = real.advanceAtEnd(many);
        EXPECT_GE(row, 0);
        EXPECT_LT(row, 7);
    }
}

// The latch marks the last row as the one playing; leaving that row forgets it.
TEST(PlayOrder, PreviousThenNextFromTheLastRowPlaysTheLastRowAgain) {
    PlayOrder order;
    ListPosition l{3, 1};
    EXPECT_EQ(order.playNext(l), 2);
    EXPECT_EQ(order.playPrevious(l), 1);
    EXPECT_EQ(order.playNext(l), 2); // not row 0: the last item is not skipped
    EXPECT_EQ(order.playNext(l), 0);
}

TEST(PlayOrder, ADoubleClickPlaysTheChosenRowAndSetsTheLatchOnTheLast) {
    PlayOrder order;
    ListPosition l{3, 1};
    EXPECT_EQ(order.advanceAtEnd(l), 2); // the last row plays: latch set
    l.selected = 2;                      // the user double-clicks it again
    EXPECT_EQ(order.playChosen(l), 2);
    EXPECT_EQ(order.advanceAtEnd(l), 0); // and its end wraps
    l.selected = 0;
    EXPECT_EQ(order.playChosen(l), 0);
    EXPECT_EQ(order.advanceAtEnd(l), 1);
    EXPECT_EQ(order.advanceAtEnd(l), 2); // after a chosen row, the last still plays
}
