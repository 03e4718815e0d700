#pragma once

#include "platform/editorerror.h"

#include <QString>
#include <cstddef>
#include <vector>

// A table of the style file model with its fixed capacity. Every growth is checked here, and
// indexing past the used entries throws, so no other code can run past a table.
template <typename T, std::size_t Capacity> class BoundedTable {
public:
    static constexpr std::size_t capacity = Capacity;

    std::size_t size() const { return items_.size(); }
    int count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    const T &operator[](std::size_t i) const { return items_.at(checked(i)); }
    T &operator[](std::size_t i) { return items_.at(checked(i)); }

    void append(const T &item) {
        ensureRoom(items_.size() + 1);
        items_.push_back(item);
    }
    void insert(std::size_t at, const T &item) {
        ensureRoom(items_.size() + 1);
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(checkedEnd(at)), item);
    }
    void erase(std::size_t at) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(checked(at))); }
    void resize(std::size_t n) {
        ensureRoom(n);
        items_.resize(n);
    }
    void clear() { items_.clear(); }

    typename std::vector<T>::const_iterator begin() const { return items_.begin(); }
    typename std::vector<T>::const_iterator end() const { return items_.end(); }
    typename std::vector<T>::iterator begin() { return items_.begin(); }
    typename std::vector<T>::iterator end() { return items_.end(); }
    const T *data() const { return items_.data(); }
    T *data() { return items_.data(); }

    bool operator==(const BoundedTable &) const = default;

private:
    static void ensureRoom(std::size_t n) {
        if (n > Capacity)
            throw EditorError(QStringLiteral("table full: it holds at most %1 entries").arg(Capacity));
    }
    std::size_t checked(std::size_t i) const {
        if (i >= items_.size())
            throw EditorError(
                QStringLiteral("table entry %1 does not exist (%2 entries)").arg(i).arg(items_.size()));
        return i;
    }
    std::size_t checkedEnd(std::size_t i) const { return i > items_.size() ? checked(i) : i; }

    std::vector<T> items_;
};
