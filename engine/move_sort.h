// The engine's own comparison sort.
//
// The order among moves with equal keys decides which of them the search
// tries first, and so which move the engine plays. std::sort leaves that
// order to the standard library: libstdc++ and libc++ differ, and so did the
// engine's decisions. This sort is written here, so its order depends on its
// input alone, whatever the compiler and library.
//
// It is an introsort (quicksort with a median-of-three pivot, insertion sort
// for short ranges, heapsort past a depth limit), unstable like any quicksort,
// and step for step the one libstdc++ uses. That choice keeps the decisions the
// game has always made where it was built with GCC or mingw: the bench
// signature, the book's verification and the recorded strength ladder stay as
// they were.
#pragma once

#include <bit>
#include <utility>

namespace lanterra {

namespace move_sort_detail {

// Ranges of at most this many elements are left to the final insertion sort.
inline constexpr int INSERTION_THRESHOLD = 16;

template <typename T, typename Less>
constexpr void PushHeap(T* first, int hole, int top, T value, Less& less) {
  int parent = (hole - 1) / 2;
  while (hole > top && less(first[parent], value)) {
    first[hole] = first[parent];
    hole = parent;
    parent = (hole - 1) / 2;
  }
  first[hole] = value;
}

// Sifts the hole at `hole` down to a leaf, always following the larger child,
// then lets `value` rise from there.
template <typename T, typename Less>
constexpr void AdjustHeap(T* first, int hole, int len, T value, Less& less) {
  const int top = hole;
  int child = hole;
  while (child < (len - 1) / 2) {
    child = 2 * (child + 1);
    if (less(first[child], first[child - 1])) --child;
    first[hole] = first[child];
    hole = child;
  }
  // An even length leaves one node with a single child.
  if ((len & 1) == 0 && child == (len - 2) / 2) {
    child = 2 * (child + 1);
    first[hole] = first[child - 1];
    hole = child - 1;
  }
  PushHeap(first, hole, top, value, less);
}

template <typename T, typename Less>
constexpr void HeapSort(T* first, T* last, Less& less) {
  const int len = static_cast<int>(last - first);
  if (len >= 2) {
    for (int parent = (len - 2) / 2;; --parent) {
      AdjustHeap(first, parent, len, first[parent], less);
      if (parent == 0) break;
    }
  }
  while (last - first > 1) {
    --last;
    T value = *last;
    *last = *first;
    AdjustHeap(first, 0, static_cast<int>(last - first), value, less);
  }
}

// Moves the median of *a, *b and *c to *result.
template <typename T, typename Less>
constexpr void MoveMedianToFirst(T* result, T* a, T* b, T* c, Less& less) {
  T* median;
  if (less(*a, *b)) {
    median = less(*b, *c) ? b : less(*a, *c) ? c : a;
  } else {
    median = less(*a, *c) ? a : less(*b, *c) ? c : b;
  }
  std::swap(*result, *median);
}

// Partitions [first, last) around *pivot, which lies outside the range; the
// median-of-three guarantees an element on each side that stops the scans.
template <typename T, typename Less>
constexpr T* UnguardedPartition(T* first, T* last, T* pivot, Less& less) {
  for (;;) {
    while (less(*first, *pivot)) ++first;
    --last;
    while (less(*pivot, *last)) --last;
    if (!(first < last)) return first;
    std::swap(*first, *last);
    ++first;
  }
}

// Inserts *last into the sorted range before it; something no greater than
// *last must stand before it, so the scan needs no bounds test.
template <typename T, typename Less>
constexpr void UnguardedLinearInsert(T* last, Less& less) {
  T value = *last;
  T* next = last - 1;
  while (less(value, *next)) {
    *last = *next;
    last = next;
    --next;
  }
  *last = value;
}

template <typename T, typename Less>
constexpr void InsertionSort(T* first, T* last, Less& less) {
  if (first == last) return;
  for (T* i = first + 1; i != last; ++i) {
    if (less(*i, *first)) {
      T value = *i;
      for (T* j = i; j != first; --j) *j = *(j - 1);
      *first = value;
    } else {
      UnguardedLinearInsert(i, less);
    }
  }
}

template <typename T, typename Less>
constexpr void IntroSortLoop(T* first, T* last, int depthLimit, Less& less) {
  while (last - first > INSERTION_THRESHOLD) {
    if (depthLimit == 0) {
      HeapSort(first, last, less);
      return;
    }
    --depthLimit;
    T* mid = first + (last - first) / 2;
    MoveMedianToFirst(first, first + 1, mid, last - 1, less);
    T* cut = UnguardedPartition(first + 1, last, first, less);
    IntroSortLoop(cut, last, depthLimit, less);
    last = cut;
  }
}

}  // namespace move_sort_detail

// Sorts [first, first + count) so that no element is less than one before
// it. The partitioning loop leaves runs of at most 16 elements, each run no
// greater than any element after it; the first run holds the least element,
// which stops every later unguarded insertion.
template <typename T, typename Less>
constexpr void SortMoves(T* first, int count, Less less) {
  using namespace move_sort_detail;
  if (count <= 1) return;
  T* last = first + count;
  const int depthLimit = 2 * (std::bit_width(static_cast<unsigned>(count)) - 1);
  IntroSortLoop(first, last, depthLimit, less);
  if (count > INSERTION_THRESHOLD) {
    InsertionSort(first, first + INSERTION_THRESHOLD, less);
    for (T* i = first + INSERTION_THRESHOLD; i != last; ++i) UnguardedLinearInsert(i, less);
  } else {
    InsertionSort(first, last, less);
  }
}

}  // namespace lanterra
