// Construction of the core's lists: an element that cannot be stored is
// deleted and the construction ends with std::bad_alloc (the entry point
// catches it and hands the host no instance).
#pragma once

#include <new>

#include "pointer_list.h"

template <class T>
T* AddOrThrow(PointerList<T>& list, T* element) {
  if (!list.Add(element)) {
    delete element;
    throw std::bad_alloc();
  }
  return element;
}
