#pragma once
// The benchmarks' counting allocator: every allocation of the process, and those
// of the calling thread (the one that renders the blocks while it counts).
// Replaces the global operators new and delete, so include it in exactly one
// file of a benchmark program.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
    std::atomic<long long> allAllocations { 0 };
    thread_local long long threadAllocations = 0;

    void* counted (std::size_t size)
    {
        ++allAllocations;
        ++threadAllocations;
        if (void* p = std::malloc (size == 0 ? 1 : size))
            return p;
        throw std::bad_alloc();
    }

    void* countedAligned (std::size_t size, std::align_val_t alignment)
    {
        ++allAllocations;
        ++threadAllocations;
        const auto a = std::max ((std::size_t) alignment, sizeof (void*));
        if (void* p = std::aligned_alloc (a, (size + a - 1) / a * a))
            return p;
        throw std::bad_alloc();
    }
} // namespace

void* operator new (std::size_t size)                                   { return counted (size); }
void* operator new[] (std::size_t size)                                 { return counted (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept   { try { return counted (size); } catch (...) { return nullptr; } }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { try { return counted (size); } catch (...) { return nullptr; } }
void* operator new (std::size_t size, std::align_val_t a)               { return countedAligned (size, a); }
void* operator new[] (std::size_t size, std::align_val_t a)             { return countedAligned (size, a); }
void operator delete (void* p) noexcept                                 { std::free (p); }
void operator delete[] (void* p) noexcept                               { std::free (p); }
void operator delete (void* p, std::size_t) noexcept                    { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept                  { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept               { std::free (p); }
void operator delete[] (void* p, std::align_val_t) noexcept             { std::free (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept  { std::free (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }
