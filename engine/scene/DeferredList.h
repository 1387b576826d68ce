#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// A list of shared pointers that can be changed while it is being walked: additions and removals
// made during forEach collect on the side and take effect when the walk ends (removals first,
// then additions in order), so a walk never sees an entry it did not start with.
//
// The "full view" is items followed by pendingAdd; searches and the render walk go over it,
// the update walks over items only.
template <typename T>
class DeferredList {
public:
    class Iterator {
    public:
        Iterator(DeferredList* list, std::size_t index) : list(list), index(index) {}

        std::shared_ptr<T>& operator*() const { return list->slot(index); }
        Iterator& operator++() {
            ++index;
            return *this;
        }
        bool operator==(const Iterator& other) const { return index == other.index; }

    private:
        friend class DeferredList;
        DeferredList* list;
        std::size_t index;
    };

    Iterator begin() { return {this, 0}; }
    Iterator end() { return {this, items.size() + pendingAdd.size()}; }

    void add(std::shared_ptr<T> entry) {
        (iterating ? pendingAdd : items).push_back(std::move(entry));
    }

    // While the list is walked the entry only leaves its slot empty (and is kept alive in
    // pendingRemove until the walk ends); otherwise it leaves the list, and maybe life, at once.
    void erase(Iterator position) {
        if (iterating) {
            pendingRemove.push_back(std::move(*position));
        } else {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(position.index));
        }
    }

    // Walks items only; slots emptied during the walk are skipped. Allocates nothing unless the
    // visitor adds entries.
    template <typename Visitor>
    void forEach(Visitor&& visitor) {
        iterating = true;
        // By index: the visitor may append to other lists, never to items while iterating.
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i]) {
                visitor(items[i]);
            }
        }
        iterating = false;
        applyPending();
    }

    // Releases everything: pendingRemove, then pendingAdd, then items, each first to last.
    void clear() {
        releaseInOrder(pendingRemove);
        releaseInOrder(pendingAdd);
        releaseInOrder(items);
    }

    std::size_t size() const { return items.size(); }
    bool isIterating() const { return iterating; }

private:
    std::shared_ptr<T>& slot(std::size_t index) {
        return index < items.size() ? items[index] : pendingAdd[index - items.size()];
    }

    void applyPending() {
        if (!pendingRemove.empty()) {
            std::erase(items, nullptr);
            releaseInOrder(pendingRemove);
        }
        if (!pendingAdd.empty()) {
            // An entry added and removed within the same walk left an empty slot here.
            for (auto& entry : pendingAdd) {
                if (entry) {
                    items.push_back(std::move(entry));
                }
            }
            pendingAdd.clear();
        }
    }

    static void releaseInOrder(std::vector<std::shared_ptr<T>>& entries) {
        for (auto& entry : entries) {
            entry.reset();
        }
        entries.clear();
    }

    std::vector<std::shared_ptr<T>> items;
    std::vector<std::shared_ptr<T>> pendingAdd;
    std::vector<std::shared_ptr<T>> pendingRemove;
    bool iterating = false;
};
