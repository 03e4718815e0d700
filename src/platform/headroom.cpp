#include "platform/headroom.h"

#include <new>

void requireHeadroom(qsizetype bytes) {
    // Called as a function rather than through a new-expression, so the compiler keeps it; only
    // address space is asked for, nothing is touched, and it is given back at once.
    void *probe = ::operator new(std::size_t(bytes));
    ::operator delete(probe);
}
