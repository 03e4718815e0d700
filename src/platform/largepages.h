#pragma once

#include <cstddef>

// Asks the system to back a large buffer that is about to be filled for the first time with large
// pages, where it has them: the first touch of each small page of a style's stores and file costs
// more than the copy that fills it. A hint only; nothing changes where it is not taken.
void preferLargePages(void *data, std::size_t size);
