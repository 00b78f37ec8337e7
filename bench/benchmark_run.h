#pragma once

// Runs the benchmarks that the command line picks, with Google Benchmark's own options; 1 for
// an option it does not know.
int runBenchmarks(int argc, char** argv);
