#pragma once
// The large arrays a load builds (file bytes, columns, indexes, the places
// of every code) are tens of megabytes touched for the first time, and
// touching them costs a page fault every 4 KiB: on a virtual machine, a
// third of the load. Where the system gives huge pages on request (Linux's
// transparent huge pages), these arrays ask for them, and a fault brings
// 2 MiB. Elsewhere, and for arrays under 2 MiB, nothing changes; memory the
// array reserves but never touches is never brought in either way.

#include <cstddef>

namespace tq {

// Asks for huge pages for the whole huge pages inside [data, data + bytes);
// only advice, which the system may not take.
void AdviseHugePages(const void* data, std::size_t bytes);

// Reserves room for `count` elements of a contiguous container (a vector, a
// string), on huge pages where the room is large.
template <class Container>
void ReserveLarge(Container& container, std::size_t count) {
  container.reserve(count);
  AdviseHugePages(container.data(), container.capacity() * sizeof(*container.data()));
}

// Resizes a container to `count` elements, its new room asked for on huge
// pages before the elements are made.
template <class Container, class... Value>
void ResizeLarge(Container& container, std::size_t count, const Value&... value) {
  if (count > container.capacity()) ReserveLarge(container, count);
  container.resize(count, value...);
}

}  // namespace tq
