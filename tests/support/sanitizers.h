#pragma once

// VYR2_ASAN is defined when the tests are built with AddressSanitizer, whose allocator and
// address space reservations some tests must allow for.
#if defined(__SANITIZE_ADDRESS__)
#define VYR2_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VYR2_ASAN 1
#endif
#endif
