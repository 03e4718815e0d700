#pragma once

#include <QtGlobal>

// Some library code (Qt's JSON parser among it) cannot pass a failed allocation on and ends the
// program instead. Before handing it work, a caller asks for the memory the work is expected to
// take: throws std::bad_alloc, which the commands report as a want of memory, when it is not there.
void requireHeadroom(qsizetype bytes);
