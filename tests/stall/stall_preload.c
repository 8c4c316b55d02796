/* A stalling file system for the tests, preloaded into Wine's processes (LD_PRELOAD).
 *
 * In a process whose program is slidewell.scr, every file call on a path with a component named
 * "stall-forever" waits an hour before it runs, and on a path with a component "stall-<N>ms" it waits N
 * milliseconds: a picture on a sleeping network drive or a dead share, as the program meets it. A folder
 * named "stall-within" hangs only inside: what it holds, and reading its entries, wait an hour, while a
 * look at the folder itself from the folder above it does not, as with a dead share's mount point. Every
 * other process (the wineserver, the test programs, the shell) runs undelayed, so a test makes and
 * removes such files itself.
 *
 * A component named "slow-<N>kBps" makes a slow drive instead: each read of a file under it (read, pread,
 * readv) returns only after the time that its bytes take at N kilobytes (of 1024 bytes) a second, so
 * the data comes at that rate however the program splits it into calls; opening, looking at and listing
 * files there are not delayed.
 *
 * When SLIDEWELL_STALL_LOG names a file, each delay is noted there as it begins, one line a call: "stall"
 * or "slow", the milliseconds, the path. A test waits for the line that tells it the program is inside
 * the delay rather than sleeping in the hope that it is, and the Wine session checks from it that the
 * delays reach the program's own process.
 *
 * Calls that carry only a descriptor (read, fstat, directory reading) are judged by the path the kernel
 * reports for the descriptor: Wine's server opens files and hands their descriptors to the program, so
 * the program never sees most of its opens. */
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

enum { kForeverMs = 3600 * 1000 };

/* -1 until the first file call of the process has looked at its command line. */
static int delaying = -1;

static void *next_definition(const char *name) { return dlsym(RTLD_NEXT, name); }

#define NEXT(name) ((__typeof__(&name))next_definition(#name))

static int ends_with_program_name(const char *argument) {
  static const char program[] = "slidewell.scr";
  const size_t length = strlen(argument), name_length = sizeof program - 1;
  return length >= name_length && strcasecmp(argument + length - name_length, program) == 0;
}

static int is_wine_loader(const char *argument) {
  const char *base = strrchr(argument, '/');
  return strncmp(base ? base + 1 : argument, "wine", 4) == 0;
}

/* The program of a Wine process is its first argument that is not Wine's own loader. */
static int program_is_slidewell(void) {
  char arguments[4096];
  const int fd = (int)syscall(SYS_openat, AT_FDCWD, "/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  const ssize_t length = (ssize_t)syscall(SYS_read, fd, arguments, sizeof arguments - 1);
  syscall(SYS_close, fd);
  if (length <= 0) return 0;
  arguments[length] = '\0';
  for (const char *argument = arguments; argument < arguments + length; argument += strlen(argument) + 1) {
    if (!is_wine_loader(argument)) return ends_with_program_name(argument);
  }
  return 0;
}

/* The delay that a path's components ask for, in milliseconds; 0 for none. `descriptor` tells that the
 * path is that of an open descriptor, which is inside the folder it names. */
static long delay_named_in(const char *path, int descriptor) {
  long delay = 0;
  for (const char *component = path; *component;) {
    const size_t length = strcspn(component, "/");
    const char *next = component + length;
    next += strspn(next, "/");
    unsigned long ms = 0;
    int used = 0;
    if (length == 13 && strncmp(component, "stall-forever", 13) == 0) {
      delay = kForeverMs;
    } else if (length == 12 && strncmp(component, "stall-within", 12) == 0 && (descriptor || *next)) {
      delay = kForeverMs;
    } else if (sscanf(component, "stall-%lums%n", &ms, &used) == 1 && (size_t)used == length) {
      delay = (long)ms;
    }
    component = next;
  }
  return delay;
}

/* The rate in bytes a second that a "slow-<N>kBps" component of the path asks for; 0 for none. */
static unsigned long long throughput_named_in(const char *path) {
  unsigned long long rate = 0;
  for (const char *component = path; *component;) {
    const size_t length = strcspn(component, "/");
    unsigned long kilobytes = 0;
    int used = 0;
    if (sscanf(component, "slow-%lukBps%n", &kilobytes, &used) == 1 && (size_t)used == length && kilobytes > 0) {
      rate = 1024ULL * kilobytes;
    }
    component += length;
    component += strspn(component, "/");
  }
  return rate;
}

/* Notes a delay in the log, before it begins. */
static void note_delay(const char *kind, long long ms, const char *path) {
  const char *log = getenv("SLIDEWELL_STALL_LOG");
  if (log == NULL || *log == '\0') return;
  char line[4200];
  const int length = snprintf(line, sizeof line, "%s %lld %s\n", kind, ms, path);
  if (length <= 0) return;
  const int fd = NEXT(open)(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  /* One write of one line, appended whole even when several threads note at once; a path too long for
   * the line is cut. */
  const size_t size = length < (int)sizeof line ? (size_t)length : sizeof line - 1;
  const ssize_t written = write(fd, line, size);
  (void)written;
  close(fd);
}

static void wait_us(long long us) {
  struct timespec left = {(time_t)(us / 1000000), (long)(us % 1000000) * 1000L};
  /* Wine's signals interrupt the sleep; the delay still runs to its end. */
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

static int active(void) {
  if (delaying < 0) delaying = program_is_slidewell();
  return delaying;
}

/* The path that a descriptor was opened on, as the kernel reports it; empty when there is none. */
static void path_of_descriptor(int fd, char *path, size_t size) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, path, size - 1);
  path[length > 0 ? length : 0] = '\0';
}

static void stall_on_descriptor(int fd) {
  if (!active()) return;
  char path[4096];
  path_of_descriptor(fd, path, sizeof path);
  const long delay = delay_named_in(path, 1);
  if (delay > 0) {
    note_delay("stall", delay, path);
    wait_us(delay * 1000LL);
  }
}

/* After a read of `bytes` from `fd`: the time those bytes take on a slow drive. Waiting after the read
 * lets the bytes actually read set the time, so a read that meets the end of the file is not charged
 * for what it asked beyond. */
static void throttle_on_descriptor(int fd, ssize_t bytes) {
  if (!active() || bytes <= 0) return;
  char path[4096];
  path_of_descriptor(fd, path, sizeof path);
  const unsigned long long rate = throughput_named_in(path);
  if (rate > 0) {
    const long long us = (long long)((unsigned long long)bytes * 1000000ULL / rate);
    note_delay("slow", us / 1000, path);
    wait_us(us);
  }
}

/* `relative` joined to `folder`, with "." and ".." taken out, so that "../.." from a marked folder
 * names the unmarked one above it. */
static void join_lexically(char *folder, size_t size, const char *relative) {
  size_t length = strlen(folder);
  for (const char *component = relative; *component;) {
    const size_t part = strcspn(component, "/");
    if (part == 2 && strncmp(component, "..", 2) == 0) {
      while (length > 0 && folder[length - 1] != '/') --length;
      if (length > 0) --length;
    } else if (part > 0 && !(part == 1 && component[0] == '.') && length + 1 + part < size) {
      folder[length++] = '/';
      memcpy(folder + length, component, part);
      length += part;
    }
    folder[length] = '\0';
    component += part;
    component += strspn(component, "/");
  }
}

/* A path relative to `dirfd` (or to the current folder) is judged by the path it names: Wine reads a
 * folder after changing into it. */
static void stall_on_path_at(int dirfd, const char *path) {
  if (!active() || path == NULL) return;
  char full[4096] = "";
  if (path[0] != '/') {
    if (dirfd == AT_FDCWD) {
      if (getcwd(full, sizeof full) == NULL) full[0] = '\0';
    } else {
      path_of_descriptor(dirfd, full, sizeof full);
    }
  }
  join_lexically(full, sizeof full, path);
  const long delay = delay_named_in(full, 0);
  if (delay > 0) {
    note_delay("stall", delay, full);
    wait_us(delay * 1000LL);
  }
}

static void stall_on_path(const char *path) { stall_on_path_at(AT_FDCWD, path); }

static mode_t mode_argument(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(arguments, int) : 0;
}

#define OPEN_INTERPOSER(name)                            \
  int name(const char *path, int flags, ...) {           \
    va_list arguments;                                   \
    va_start(arguments, flags);                          \
    const mode_t mode = mode_argument(flags, arguments); \
    va_end(arguments);                                   \
    stall_on_path(path);                                 \
    return NEXT(name)(path, flags, mode);                \
  }
#define OPENAT_INTERPOSER(name)                           \
  int name(int dirfd, const char *path, int flags, ...) { \
    va_list arguments;                                    \
    va_start(arguments, flags);                           \
    const mode_t mode = mode_argument(flags, arguments);  \
    va_end(arguments);                                    \
    stall_on_path_at(dirfd, path);                        \
    return NEXT(name)(dirfd, path, flags, mode);          \
  }
OPEN_INTERPOSER(open)
OPEN_INTERPOSER(open64)
OPENAT_INTERPOSER(openat)
OPENAT_INTERPOSER(openat64)

/* `name` of the C library: waits as `stall` says for its path or descriptor, then calls on. */
#define INTERPOSER(type, name, parameters, stall, arguments) \
  type name parameters {                                     \
    stall;                                                   \
    return NEXT(name) arguments;                             \
  }
#define PATH_INTERPOSER(type, name, parameters, arguments) \
  INTERPOSER(type, name, parameters, stall_on_path(path), arguments)
#define PATH_AT_INTERPOSER(type, name, parameters, arguments) \
  INTERPOSER(type, name, parameters, stall_on_path_at(dirfd, path), arguments)
#define DESCRIPTOR_INTERPOSER(type, name, parameters, arguments) \
  INTERPOSER(type, name, parameters, stall_on_descriptor(fd), arguments)

int __open_2(const char *path, int flags);
int __open64_2(const char *path, int flags);
PATH_INTERPOSER(int, __open_2, (const char *path, int flags), (path, flags))
PATH_INTERPOSER(int, __open64_2, (const char *path, int flags), (path, flags))

#define PATH_STAT_INTERPOSER(name, buffer_type) \
  PATH_INTERPOSER(int, name, (const char *path, buffer_type *buffer), (path, buffer))
#define DESCRIPTOR_STAT_INTERPOSER(name, buffer_type) \
  DESCRIPTOR_INTERPOSER(int, name, (int fd, buffer_type *buffer), (fd, buffer))
#define STAT_AT_INTERPOSER(name, buffer_type)                                                  \
  PATH_AT_INTERPOSER(int, name, (int dirfd, const char *path, buffer_type *buffer, int flags), \
                     (dirfd, path, buffer, flags))
PATH_STAT_INTERPOSER(stat, struct stat)
PATH_STAT_INTERPOSER(lstat, struct stat)
PATH_STAT_INTERPOSER(stat64, struct stat64)
PATH_STAT_INTERPOSER(lstat64, struct stat64)
DESCRIPTOR_STAT_INTERPOSER(fstat, struct stat)
DESCRIPTOR_STAT_INTERPOSER(fstat64, struct stat64)
STAT_AT_INTERPOSER(fstatat, struct stat)
STAT_AT_INTERPOSER(fstatat64, struct stat64)

#if defined(__i386__)
/* Wine's 32-bit build calls the forms with 64-bit times; their buffers are only passed on here. */
struct stat_with_64_bit_times;
int __stat64_time64(const char *path, struct stat_with_64_bit_times *buffer);
int __lstat64_time64(const char *path, struct stat_with_64_bit_times *buffer);
int __fstat64_time64(int fd, struct stat_with_64_bit_times *buffer);
int __fstatat64_time64(int dirfd, const char *path, struct stat_with_64_bit_times *buffer, int flags);
PATH_STAT_INTERPOSER(__stat64_time64, struct stat_with_64_bit_times)
PATH_STAT_INTERPOSER(__lstat64_time64, struct stat_with_64_bit_times)
DESCRIPTOR_STAT_INTERPOSER(__fstat64_time64, struct stat_with_64_bit_times)
STAT_AT_INTERPOSER(__fstatat64_time64, struct stat_with_64_bit_times)
#endif

/* Wine keeps a file's DOS attributes in an extended attribute. */
PATH_INTERPOSER(ssize_t, getxattr, (const char *path, const char *attribute, void *value, size_t size),
                (path, attribute, value, size))
DESCRIPTOR_INTERPOSER(ssize_t, fgetxattr, (int fd, const char *attribute, void *value, size_t size),
                      (fd, attribute, value, size))
PATH_AT_INTERPOSER(int, statx, (int dirfd, const char *path, int flags, unsigned int mask, struct statx *buffer),
                   (dirfd, path, flags, mask, buffer))
PATH_INTERPOSER(int, access, (const char *path, int mode), (path, mode))
PATH_AT_INTERPOSER(int, faccessat, (int dirfd, const char *path, int mode, int flags), (dirfd, path, mode, flags))
/* A read: stalls like any descriptor call, then takes the time of its bytes on a slow drive. */
#define READ_INTERPOSER(name, parameters, arguments) \
  ssize_t name parameters {                          \
    stall_on_descriptor(fd);                         \
    const ssize_t bytes = NEXT(name) arguments;      \
    throttle_on_descriptor(fd, bytes);               \
    return bytes;                                    \
  }
READ_INTERPOSER(read, (int fd, void *buffer, size_t size), (fd, buffer, size))
READ_INTERPOSER(pread, (int fd, void *buffer, size_t size, off_t offset), (fd, buffer, size, offset))
READ_INTERPOSER(pread64, (int fd, void *buffer, size_t size, off64_t offset), (fd, buffer, size, offset))
READ_INTERPOSER(readv, (int fd, const struct iovec *parts, int count), (fd, parts, count))
PATH_INTERPOSER(DIR *, opendir, (const char *path), (path))
INTERPOSER(struct dirent *, readdir, (DIR * folder), stall_on_descriptor(dirfd(folder)), (folder))
INTERPOSER(struct dirent64 *, readdir64, (DIR * folder), stall_on_descriptor(dirfd(folder)), (folder))
DESCRIPTOR_INTERPOSER(ssize_t, getdents64, (int fd, void *buffer, size_t size), (fd, buffer, size))

/* Wine reads folders with the system call itself, not through the C library's wrapper. */
long syscall(long number, ...) {
  va_list arguments;
  va_start(arguments, number);
  long argument[6];
  for (int i = 0; i < 6; ++i) argument[i] = va_arg(arguments, long);
  va_end(arguments);
  if (number == SYS_getdents64) stall_on_descriptor((int)argument[0]);
  return NEXT(syscall)(number, argument[0], argument[1], argument[2], argument[3], argument[4], argument[5]);
}
