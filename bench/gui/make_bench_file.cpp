// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <cstdio>

#include "bench_files.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const bool reversed = argc > 3;
  return WriteBenchFile(QString::fromLocal8Bit(argv[1]),
                        BenchScenery(atoi(argv[2]), reversed))
             ? 0
             : 1;
}
