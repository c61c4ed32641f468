// Counting the heap allocations a piece of code makes.
//
//   AllocationCount count;        // starts counting on this thread
//   game.Tick();
//   EXPECT_EQ(count.Made(), 0);   // operator new calls since the count began
//
// Every test binary gets replacements of all forms of operator new and delete
// from the support library; they take their blocks from malloc and give them
// back with free, so blocks pair up whichever form a library uses. Only the
// thread that holds a count is watched: OpenAL Soft and Mesa allocate on
// threads of their own, which are not the game's business.
#pragma once

class AllocationCount {
public:
    AllocationCount();
    ~AllocationCount();
    AllocationCount(const AllocationCount&) = delete;
    AllocationCount& operator=(const AllocationCount&) = delete;
    long Made() const;

private:
    long start;
};
