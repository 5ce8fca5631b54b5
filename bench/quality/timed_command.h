// Runs a command-line coder and measures the processor time it took.
#pragma once

#include <string>
#include <vector>

struct CommandResult {
    bool succeeded = false;    // started and exited with status 0
    double cpu_seconds = 0.0;  // user + system time of the command
};

// Runs `argv` (argv[0] looked up on PATH unless it holds a '/'), appending its output and its
// error stream to `log_path`. Processor time rather than wall time, because the machine is shared.
CommandResult run_timed(const std::vector<std::string>& argv, const std::string& log_path);

// Processor time this process has used so far, for timing work done in-process alike.
double process_cpu_seconds();

// The command as one line, for messages.
std::string command_line(const std::vector<std::string>& argv);
