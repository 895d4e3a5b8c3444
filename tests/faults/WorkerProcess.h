#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace testing_support {

// The worker executable's path, as the build placed it.
std::string faultWorkerPath();

// The fault worker run as a program of its own, with its standard input and output on pipes:
// the tests send it lines, read its answers, and end it as they please.
class WorkerProcess {
public:
    // Runs `prefix` (a launcher such as setpriv with its options, or nothing) followed by the
    // worker (the built one unless another copy is named) and `args`.
    explicit WorkerProcess(const std::vector<std::string>& args,
                           const std::vector<std::string>& prefix = {},
                           const std::string& program = faultWorkerPath());
    ~WorkerProcess(); // kills a worker still running
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    pid_t pid() const { return pid_; }
    void send(const std::string& line);
    // The next line the worker writes, without its line end; nothing when it writes none within
    // the timeout or has ended.
    std::optional<std::string>
    readLine(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Sends a command and gives its one-line answer ("" when there is none).
    std::string ask(const std::string& command);
    void kill(int signal);
    // Waits for the end; gives the exit code, or 128 + the signal that ended it.
    int wait();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int in_ = -1;  // the worker's standard input
    int out_ = -1; // the worker's standard output
    std::string pending_;
};

} // namespace testing_support
