#include "tests/support/allocation_count.h"

#include <cstdlib>
#include <new>

namespace {

thread_local int counting = 0;
thread_local long calls = 0;

void* CountedAllocation(std::size_t size) {
    if (counting) ++calls;
    return std::malloc(size ? size : 1);
}

}  // namespace

AllocationCount::AllocationCount() : start(calls) { ++counting; }
AllocationCount::~AllocationCount() { --counting; }
long AllocationCount::Made() const { return calls - start; }

void* operator new(std::size_t size) {
    if (void* block = CountedAllocation(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }

// GCC cannot see that these pair with the malloc above once they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
#pragma GCC diagnostic pop
