// Command-line host for Brimlow.
#include <cstdio>

int main() {
  std::printf("Brimlow 3.2.3 by Kestrelbay\n");
  return 0;
}
