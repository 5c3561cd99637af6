#pragma once
// What the kernel knows of this process: its age, the CPU time it has used, its peak memory.

#include <chrono>
#include <optional>

// Time since the process started, by its start time in /proc/self/stat against the boot clock.
// That start time is kept in clock ticks (10 ms), so the age may read up to one tick long.
std::optional<std::chrono::duration<double, std::milli>> ProcessAge();

// CPU time used so far by all of the process's threads, in user and kernel mode.
std::chrono::duration<double> ProcessCpuTime();

// The peak resident set size (VmHWM) in MiB.
std::optional<double> PeakRssMiB();
