// Preloaded into toviska-cli by tst_GenerateCommand to stage what a test cannot time from
// outside: a path swapped just after the command first looks at it, a folder that refuses new
// files to root too, and the order of renames and syncs on the way to the disk. Each behaviour
// is off unless its variable is set:
//   TOVISKA_SWAP_PATH, TOVISKA_SWAP_WITH  the first stat or open of SWAP_PATH is followed by
//                                         renaming SWAP_WITH over it
//   TOVISKA_DENY_FOLDER                   new files in that folder fail with EACCES
//   TOVISKA_SYNC_LOG                      "rename", "fsync folder" and "fsync file" lines
#undef _FORTIFY_SOURCE
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int g_swapped;

static void *real(const char *name)
{
    return dlsym(RTLD_NEXT, name);
}

static void swapAfterLooking(const char *path)
{
    const char *swapPath = getenv("TOVISKA_SWAP_PATH");
    const char *swapWith = getenv("TOVISKA_SWAP_WITH");
    if (g_swapped || !swapPath || !swapWith || strcmp(path, swapPath) != 0)
        return;
    g_swapped = 1;
    int (*renameFile)(const char *, const char *) = (int (*)(const char *, const char *))real("rename");
    renameFile(swapWith, swapPath);
}

static int deniedIn(const char *path, int exact)
{
    const char *folder = getenv("TOVISKA_DENY_FOLDER");
    if (!folder)
        return 0;
    const size_t length = strlen(folder);
    if (strncmp(path, folder, length) != 0)
        return 0;
    return exact ? path[length] == '\0' : path[length] == '/';
}

static void note(const char *line)
{
    const char *log = getenv("TOVISKA_SYNC_LOG");
    if (!log)
        return;
    int (*openFile)(const char *, int, ...) = (int (*)(const char *, int, ...))real("open");
    const int fd = openFile(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    ssize_t written = write(fd, line, strlen(line));
    (void)written;
    close(fd);
}

static int openWith(const char *name, const char *path, int flags, va_list arguments)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(arguments, int) : 0;
    if ((flags & O_TMPFILE) == O_TMPFILE && deniedIn(path, 1)) {
        errno = EACCES;
        return -1;
    }
    int (*openFile)(const char *, int, ...) = (int (*)(const char *, int, ...))real(name);
    const int fd = openFile(path, flags, mode);
    swapAfterLooking(path);
    return fd;
}

int open(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const int fd = openWith("open", path, flags, arguments);
    va_end(arguments);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const int fd = openWith("open64", path, flags, arguments);
    va_end(arguments);
    return fd;
}

int stat(const char *path, struct stat *status)
{
    int (*statFile)(const char *, struct stat *) = (int (*)(const char *, struct stat *))real("stat");
    const int result = statFile(path, status);
    swapAfterLooking(path);
    return result;
}

int stat64(const char *path, struct stat64 *status)
{
    int (*statFile)(const char *, struct stat64 *) = (int (*)(const char *, struct stat64 *))real("stat64");
    const int result = statFile(path, status);
    swapAfterLooking(path);
    return result;
}

static int makeTemporary(const char *name, char *pattern)
{
    if (deniedIn(pattern, 0)) {
        errno = EACCES;
        return -1;
    }
    int (*make)(char *) = (int (*)(char *))real(name);
    return make(pattern);
}

int mkstemp(char *pattern)
{
    return makeTemporary("mkstemp", pattern);
}

int mkstemp64(char *pattern)
{
    return makeTemporary("mkstemp64", pattern);
}

int rename(const char *from, const char *to)
{
    note("rename\n");
    int (*renameFile)(const char *, const char *) = (int (*)(const char *, const char *))real("rename");
    return renameFile(from, to);
}

int fsync(int fd)
{
    struct stat status;
    note(fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) ? "fsync folder\n" : "fsync file\n");
    int (*sync)(int) = (int (*)(int))real("fsync");
    return sync(fd);
}

int fdatasync(int fd)
{
    note("fsync file\n");
    int (*sync)(int) = (int (*)(int))real("fdatasync");
    return sync(fd);
}
