/* The smallest program of the Windows build: whether this machine runs it
   under Wine decides whether the Windows build's tests under Wine can run. */
#include <stdio.h>

int main(void) {
  puts("wine probe: 32-bit code runs");
  return 0;
}
