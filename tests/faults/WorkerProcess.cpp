#include "tests/faults/WorkerProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

std::string faultWorkerPath()
{
    return TAVRIX_FAULT_WORKER;
}

WorkerProcess::WorkerProcess(const std::vector<std::string>& args,
                             const std::vector<std::string>& prefix, const std::string& program)
{
    std::vector<std::string> all = prefix;
    all.push_back(program);
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
    if (pid_ == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
    signal(SIGPIPE, SIG_IGN); // a worker that ended is seen in its answers, not as a signal
}

WorkerProcess::~WorkerProcess()
{
    if (running()) {
        kill(SIGKILL);
        wait();
    }
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
}

void WorkerProcess::send(const std::string& line)
{
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(in_, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::optional<std::string> WorkerProcess::readLine(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[4096];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string WorkerProcess::ask(const std::string& command)
{
    send(command);
    return readLine().value_or("");
}

void WorkerProcess::kill(int signal)
{
    if (running()) ::kill(pid_, signal);
}

int WorkerProcess::wait()
{
    if (!running()) return -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

} // namespace testing_support
