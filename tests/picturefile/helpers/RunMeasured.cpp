// run_measured PROGRAM [ARGUMENTS...]
//
// Runs PROGRAM and prints "EXIT CPU_SECONDS MAX_RESIDENT_KB" of it on
// stdout. The picture-file tests run quillconv through this small process:
// a child started directly by a large test process would report the test
// process's peak resident size as its own (Linux carries the peak across
// exec), while a child forked from this program starts small.

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const pid_t pid = fork();
    if (pid < 0)
        return 2;
    if (pid == 0)
    {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return 2;
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%d %.3f %ld\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1, cpu, usage.ru_maxrss);
    return 0;
}
