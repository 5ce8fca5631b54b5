#include "timed_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// Owns the file actions of one spawn.
class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

CommandResult run_timed(const std::vector<std::string>& argv, const std::string& log_path) {
    CommandResult result;
    if (argv.empty()) return result;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, log_path.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(actions.get(), STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ) != 0) {
        return result;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return result;
    result.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    result.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

double process_cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string command_line(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& arg : argv) line += (line.empty() ? "" : " ") + arg;
    return line;
}
