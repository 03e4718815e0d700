#pragma once

#include "style/styledocument.h"

#include <vector>

// Which items of one kind a change touched: some by number, or all of them at once.
class ChangedItems {
public:
    static ChangedItems every();

    // Items are added in ascending order.
    void add(int item) { items_.push_back(item); }
    bool none() const { return !all_ && items_.empty(); }
    bool all() const { return all_; }
    bool has(int item) const;
    // The items by number, ascending; empty when all() holds.
    const std::vector<int> &items() const { return items_; }

private:
    bool all_ = false;
    std::vector<int> items_;
};

// What a change did to the pictures the views show.
struct ItemChanges {
    // Tiles whose pixels or colours changed, or that came or went.
    ChangedItems tiles;
    // Sprites whose entry, pixels or colours changed, or that came or went.
    ChangedItems sprites;
    // Physical palettes whose colours changed.
    ChangedItems palettes;
    // Sprites whose deltas changed, came or went.
    ChangedItems deltas;

    static ItemChanges every() {
        return {ChangedItems::every(), ChangedItems::every(), ChangedItems::every(), ChangedItems::every()};
    }
};

// The tiles, sprites, physical palettes and sprites' deltas that look different in `after` than in `before`.
// Stores and palettes that are still shared are skipped, so a change of one part costs only that part's
// comparison.
ItemChanges changedItems(const StyleDocument &before, const StyleDocument &after);
