/* Preloaded into the program while its behaviour is recorded: the wall clock starts at a
 * fixed moment (FIXED_CLOCK_EPOCH, seconds since 1970) and then runs at its real pace, so
 * replies about the date and time, record stamps and file contents do not depend on the day
 * the recording is made. The monotonic clock is left alone: Qt's timers and the speech
 * playback measure intervals with it.
 *
 * The engine seeds its random generator from the steady clock and time(). When
 * FIXED_CLOCK_SEED_CALLER is "OFFSET:SIZE" (the seeding function's place in the main
 * executable, hexadecimal, as nm prints it), calls made from there see the fixed start
 * exactly, so the window's replies are as repeatable as the console's --seed. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/time.h>
#include <time.h>

typedef int (*clock_gettime_fn)(clockid_t, struct timespec*);

static const int64_t kNanosPerSecond = 1000000000LL;

static clock_gettime_fn real_clock_gettime;
static int64_t shift_ns;
static int64_t fixed_epoch_ns;
static uintptr_t seed_caller_begin;
static uintptr_t seed_caller_end;

static int64_t to_ns(const struct timespec* ts) {
    return (int64_t)ts->tv_sec * kNanosPerSecond + ts->tv_nsec;
}

static void from_ns(int64_t ns, struct timespec* ts) {
    ts->tv_sec = (time_t)(ns / kNanosPerSecond);
    ts->tv_nsec = (long)(ns % kNanosPerSecond);
}

static int main_program_base(struct dl_phdr_info* info, size_t size, void* out) {
    (void)size;
    *(uintptr_t*)out = (uintptr_t)info->dlpi_addr;
    return 1; /* the first object is the executable */
}

static void read_seed_caller(void) {
    const char* spec = getenv("FIXED_CLOCK_SEED_CALLER");
    if (spec == NULL || *spec == '\0') return;
    char* rest = NULL;
    uintptr_t offset = (uintptr_t)strtoull(spec, &rest, 16);
    if (rest == NULL || *rest != ':') return;
    uintptr_t size = (uintptr_t)strtoull(rest + 1, NULL, 16);
    uintptr_t base = 0;
    dl_iterate_phdr(main_program_base, &base);
    seed_caller_begin = base + offset;
    seed_caller_end = seed_caller_begin + size;
}

/* Libraries loaded before this one may read the clock from their own constructors, so the
 * first call of any function here sets the shift up. */
static void start_fixed_clock(void) {
    if (real_clock_gettime != NULL) return;
    real_clock_gettime = (clock_gettime_fn)dlsym(RTLD_NEXT, "clock_gettime");
    const char* epoch = getenv("FIXED_CLOCK_EPOCH");
    fixed_epoch_ns = (epoch ? strtoll(epoch, NULL, 10) : 0) * kNanosPerSecond;
    struct timespec now;
    real_clock_gettime(CLOCK_REALTIME, &now);
    shift_ns = epoch ? fixed_epoch_ns - to_ns(&now) : 0;
    read_seed_caller();
}

__attribute__((constructor)) static void start_at_load(void) { start_fixed_clock(); }

static int called_from_seeding(const void* return_address) {
    uintptr_t at = (uintptr_t)return_address;
    return at >= seed_caller_begin && at < seed_caller_end;
}

static int is_wall_clock(clockid_t id) {
    return id == CLOCK_REALTIME || id == CLOCK_REALTIME_COARSE;
}

static int64_t wall_ns(const void* caller) {
    start_fixed_clock();
    if (called_from_seeding(caller)) return fixed_epoch_ns;
    struct timespec now;
    real_clock_gettime(CLOCK_REALTIME, &now);
    return to_ns(&now) + shift_ns;
}

int clock_gettime(clockid_t id, struct timespec* ts) {
    start_fixed_clock();
    if (!is_wall_clock(id)) return real_clock_gettime(id, ts);
    from_ns(wall_ns(__builtin_return_address(0)), ts);
    return 0;
}

int gettimeofday(struct timeval* tv, void* tz) {
    (void)tz;
    int64_t ns = wall_ns(__builtin_return_address(0));
    tv->tv_sec = (time_t)(ns / kNanosPerSecond);
    tv->tv_usec = (suseconds_t)(ns % kNanosPerSecond / 1000);
    return 0;
}

time_t time(time_t* out) {
    time_t seconds = (time_t)(wall_ns(__builtin_return_address(0)) / kNanosPerSecond);
    if (out != NULL) *out = seconds;
    return seconds;
}

/* std::chrono::steady_clock::now() of libstdc++; its time_point is returned as one 64-bit
 * count of nanoseconds. Only the seeding call is changed: it sees the clock at zero. */
int64_t _ZNSt6chrono3_V212steady_clock3nowEv(void) {
    start_fixed_clock();
    if (called_from_seeding(__builtin_return_address(0))) return 0;
    struct timespec now;
    real_clock_gettime(CLOCK_MONOTONIC, &now);
    return to_ns(&now);
}

/* std::chrono::system_clock::now(): the shifted wall clock. */
int64_t _ZNSt6chrono3_V212system_clock3nowEv(void) {
    return wall_ns(__builtin_return_address(0));
}
