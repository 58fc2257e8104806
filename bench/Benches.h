#pragma once

class BenchTable;

// Each subsystem's timed tasks, adding their rows to the table.
void runResultsBench(BenchTable &table);
void runListsBench(BenchTable &table);
void runCopyBench(BenchTable &table);
void runCliBench(BenchTable &table);
