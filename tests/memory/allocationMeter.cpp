#include "memory/allocationMeter.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
thread_local bool tMetering = false;
thread_local int64_t tHeld = 0;
thread_local int64_t tPeak = 0;

void* take(size_t n, bool mayThrow = true) {
    void* p = malloc(n ? n : 1);
    if (!p && mayThrow) throw std::bad_alloc();
    if (p && tMetering) tPeak = std::max(tPeak, tHeld += (int64_t)malloc_usable_size(p));
    return p;
}
void give(void* p) {
    if (p && tMetering) tHeld -= (int64_t)malloc_usable_size(p);
    free(p);
}
}  // namespace

CallocationMeter::CallocationMeter() {
    tHeld = 0;
    tPeak = 0;
    tMetering = true;
}
CallocationMeter::~CallocationMeter() { tMetering = false; }
int64_t CallocationMeter::peakBytes() const { return tPeak; }

void* operator new(size_t n) { return take(n); }
void* operator new[](size_t n) { return take(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return take(n, false); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return take(n, false); }
void operator delete(void* p) noexcept { give(p); }
void operator delete[](void* p) noexcept { give(p); }
void operator delete(void* p, size_t) noexcept { give(p); }
void operator delete[](void* p, size_t) noexcept { give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { give(p); }
