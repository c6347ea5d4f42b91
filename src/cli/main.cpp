// piconel-cli: the output run without a window, for build pipelines.
#include <cstdio>

int main(int argc, char** argv) {
  (void)argv;
  if (argc < 2) {
    std::fputs("usage: piconel-cli output PROJECT.ijp [--out DIR] [--settings FILE]\n", stderr);
    return 2;
  }
  return 2;
}
