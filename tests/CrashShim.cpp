// Preloaded into a test child: counts every rename, unlink and sync the
// child makes after it arms the shim. It kills the child with SIGKILL right
// after the call numbered CRASH_SHIM_KILL_AFTER, as a power cut or a kill -9
// would end it there, or fails the call numbered CRASH_SHIM_FAIL_AT with EIO
// without making it, as a failing disk would.
#include <atomic>
#include <csignal>
#include <cerrno>
#include <cstdlib>

#include <dlfcn.h>
#include <unistd.h>

namespace {

std::atomic<bool> armed = false;
std::atomic<long> calls = 0;
long killAfter = 0;
long failAt = 0;

long numberFrom(const char *variable)
{
    const char *value = getenv(variable);
    return value ? atol(value) : 0;
}

// Makes the call unless it is the one to fail; kills after the one to kill.
template<typename Call>
int counted(Call call)
{
    const long number = armed ? ++calls : 0;
    if (number != 0 && number == failAt) {
        errno = EIO;
        return -1;
    }
    const int result = call();
    if (number != 0 && number == killAfter)
        raise(SIGKILL);
    return result;
}

template<typename Function>
Function real(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}

extern "C" {

void crash_shim_arm()
{
    killAfter = numberFrom("CRASH_SHIM_KILL_AFTER");
    failAt = numberFrom("CRASH_SHIM_FAIL_AT");
    calls = 0;
    armed = true;
}

long crash_shim_calls()
{
    return calls;
}

int rename(const char *from, const char *to)
{
    static const auto call = real<int (*)(const char *, const char *)>("rename");
    return counted([&] { return call(from, to); });
}

int renameat(int fromFolder, const char *from, int toFolder, const char *to)
{
    static const auto call = real<int (*)(int, const char *, int, const char *)>("renameat");
    return counted([&] { return call(fromFolder, from, toFolder, to); });
}

int renameat2(int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags)
{
    static const auto call = real<int (*)(int, const char *, int, const char *, unsigned int)>("renameat2");
    return counted([&] { return call(fromFolder, from, toFolder, to, flags); });
}

int unlink(const char *path)
{
    static const auto call = real<int (*)(const char *)>("unlink");
    return counted([&] { return call(path); });
}

int unlinkat(int folder, const char *path, int flags)
{
    static const auto call = real<int (*)(int, const char *, int)>("unlinkat");
    return counted([&] { return call(folder, path, flags); });
}

int fsync(int fd)
{
    static const auto call = real<int (*)(int)>("fsync");
    return counted([&] { return call(fd); });
}

int fdatasync(int fd)
{
    static const auto call = real<int (*)(int)>("fdatasync");
    return counted([&] { return call(fd); });
}
}
