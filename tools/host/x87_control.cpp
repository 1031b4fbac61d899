#include "x87_control.h"

bool SetX87Precision(int bits) {
#if defined(__i386__) || defined(__x86_64__)
  unsigned short field;
  switch (bits) {
    case 24: field = 0x000; break;
    case 53: field = 0x200; break;
    case 64: field = 0x300; break;
    default: return false;
  }
  unsigned short control;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  control = static_cast<unsigned short>((control & ~0x300) | field);
  __asm__ volatile("fldcw %0" : : "m"(control));
  return true;
#else
  (void)bits;
  return false;
#endif
}
