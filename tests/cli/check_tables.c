/* Checks the tables of an output run against each other: compiled together
 * with the generated imgidx.h and imgtable.h, it reads imgtable_l.bin and
 * imgtable_b.bin (arguments 1 and 2) and compares every entry count and
 * coordinate with the arrays reached through img_axis_index. Exit status 0
 * when everything agrees; a message on stderr otherwise. */
#include <stdio.h>

#include "imgidx.h"
#include "imgtable.h"

#define MAX_VALUES 100000

static long read_table(const char* path, int big_endian, int* out) {
  FILE* f = fopen(path, "rb");
  long n = 0;
  int lo, hi;
  if (f == NULL) {
    return -1;
  }
  while (n < MAX_VALUES) {
    int a = fgetc(f);
    int b = fgetc(f);
    if (a == EOF || b == EOF) {
      break;
    }
    lo = big_endian ? b : a;
    hi = big_endian ? a : b;
    out[n++] = (short)(unsigned short)(lo | (hi << 8));
  }
  fclose(f);
  return n;
}

static int little[MAX_VALUES];
static int big[MAX_VALUES];

int main(int argc, char** argv) {
  long n_little, n_big, at = 1, i;
  int page, entry, k;
  const int pages = (int)(sizeof img_axis_index / sizeof img_axis_index[0]);
  if (argc != 3) {
    fprintf(stderr, "usage: check_tables imgtable_l.bin imgtable_b.bin\n");
    return 2;
  }
  n_little = read_table(argv[1], 0, little);
  n_big = read_table(argv[2], 1, big);
  if (n_little < 1 || n_little != n_big) {
    fprintf(stderr, "binary tables differ in length (%ld, %ld)\n", n_little, n_big);
    return 1;
  }
  for (i = 0; i < n_little; ++i) {
    if (little[i] != big[i]) {
      fprintf(stderr, "binary tables differ at value %ld\n", i);
      return 1;
    }
  }
  if (little[0] != pages) {
    fprintf(stderr, "page count %d, index block %d\n", little[0], pages);
    return 1;
  }
  for (page = 0; page < pages; ++page) {
    const int count = little[at++];
    if ((count == 0) != (img_axis_index[page] == 0)) {
      fprintf(stderr, "page %d: count %d against its array\n", page, count);
      return 1;
    }
    for (entry = 0; entry < count; ++entry) {
      for (k = 0; k < 4; ++k) {
        if (at >= n_little) {
          fprintf(stderr, "binary tables end early\n");
          return 1;
        }
        if ((short)img_axis_index[page][entry][k] != little[at++]) {
          fprintf(stderr, "page %d entry %d field %d differs\n", page, entry, k);
          return 1;
        }
      }
    }
  }
  if (at != n_little) {
    fprintf(stderr, "binary tables have %ld extra values\n", n_little - at);
    return 1;
  }
#ifdef CHECK_DEMO_LABELS
  /* The demo numbers its pages in the upper bits. */
  if (IMG_ITEMS_HEART != 0 || IMG_ITEMS_MAX != 4 || IMG_SHIPS_SHIP != 256 ||
      IMG_SHIPS_LIFE != 258 || IMG_SHIPS_MAX != 259) {
    fprintf(stderr, "label values differ\n");
    return 1;
  }
#endif
  printf("tables agree: %d pages\n", pages);
  return 0;
}
