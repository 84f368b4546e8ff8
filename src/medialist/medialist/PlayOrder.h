#pragma once
// The play order of the video list: which row plays next when an item ends, and for the next
// and previous buttons, under the three loop modes.
//
// The selection is a row index from 0, or -1 for none. Selecting an index in 0..count-1 selects
// that row, -1 clears the selection, any other index leaves it as it is; so stepping past the
// last row keeps the last row selected, and the wrap latch turns that second arrival into a
// wrap to row 0, which lets the last item play once before the list starts over.
//
// The latch means "the last row is the row playing now": it is set when the last row is
// arrived at and cleared whenever another row plays, so previous-then-next from the last row,
// or a double click elsewhere after the last row played, never skip the last item.

#include <functional>

namespace qinglan::medialist {

enum class LoopMode { Sequential = 0, Random = 1, RepeatOne = 2 };

struct ListPosition {
    int count = 0;
    int selected = -1;
    // The selection rule above.
    void select(int index);
};

class PlayOrder {
public:
    // `randomIndex(count)` gives an index from 0 to count - 1, both included.
    explicit PlayOrder(std::function<int(int count)> randomIndex = {});

    LoopMode loopMode() const { return mode_; }
    void setLoopMode(LoopMode mode) { mode_ = mode; }
    bool wrapLatch() const { return latch_; }

    // Each moves the selection and answers the row to play, or -1 for none.
    int advanceAtEnd(ListPosition& list);
    int playNext(ListPosition& list);
    int playPrevious(ListPosition& list);
    // A row chosen by the user (double click): it plays; the latch follows it.
    int playChosen(ListPosition& list);

    // At the last row: a second arrival selects row 0, the first sets the latch.
    void wrapAtLastRow(ListPosition& list);

private:
    int random(int count);

    std::function<int(int)> randomIndex_;
    LoopMode mode_ = LoopMode::Sequential;
    bool latch_ = false;
};

} // namespace qinglan::medialist
