#include "medialist/PlayOrder.h"

#include <memory>
#include <random>

namespace qinglan::medialist {

void ListPosition::select(int index) {
    if (index >= 0 && index < count)
        selected = index;
    else if (index == -1)
        selected = -1;
}

PlayOrder::PlayOrder(std::function<int(int count)> randomIndex)
    : randomIndex_(std::move(randomIndex)) {
    if (!randomIndex_) {
        randomIndex_ = [engine = std::make_shared<std::mt19937>(std::random_device{}())](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(*engine);
        };
    }
}

int PlayOrder::random(int count) {
    // An empty list has no index to pick; -1 keeps it without a selection.
    return count > 0 ? randomIndex_(count) : -1;
}

void PlayOrder::wrapAtLastRow(ListPosition& list) {
    if (list.count > 0 && list.selected == list.count - 1) {
        if (latch_) {
            list.select(0);
            latch_ = false;
        } else {
            latch_ = true;
        }
    } else {
        latch_ = false;
    }
}

int PlayOrder::advanceAtEnd(ListPosition& list) {
    switch (mode_) {
    case LoopMode::Sequential:
        list.select(list.selected + 1);
        wrapAtLastRow(list);
        break;
    case LoopMode::Random:
        list.select(random(list.count));
        wrapAtLastRow(list);
        break;
    case LoopMode::RepeatOne:
        break;
    }
    return list.selected;
}

int PlayOrder::playNext(ListPosition& list) {
    if (mode_ == LoopMode::Random)
        list.select(random(list.count));
    else
        list.select(list.selected + 1);
    wrapAtLastRow(list);
    return list.selected;
}

int PlayOrder::playPrevious(ListPosition& list) {
    if (mode_ == LoopMode::Random)
        list.select(random(list.count));
    else
        list.select(list.selected - 1);
    if (list.selected == -1) list.select(list.count - 1);
    wrapAtLastRow(list);
    return list.selected;
}

int PlayOrder::playChosen(ListPosition& list) {
    latch_ = list.count > 0 && list.selected == list.count - 1;
    return list.selected;
}

} // namespace qinglan::medialist
