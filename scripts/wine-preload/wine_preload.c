/* Preloaded into every Wine process that the 32-bit route starts under qemu-user.
 *
 * Wine reserves the upper half of a 32-bit address space when it starts. qemu-user takes
 * MAP_FIXED_NOREPLACE as a mere hint, so Wine's reservation fails and it falls back to probing
 * that half in 64 KiB steps: some 136 000 mmap calls, minutes per process. Wine's own preloader
 * (not used here) avoids this by reserving the range first and telling Wine through
 * wine_main_preload_info; this library does the same when it is loaded.
 *
 * qemu-user also keeps one global descriptor table for all the threads of a process, so a
 * thread-area entry (set_thread_area) holds the base that the thread which set it last gave it.
 * %gs (libc's thread data) and, when Wine gets such an entry, %fs (Wine's TEB) are selectors of
 * thread-area entries, and Wine reloads both at every system call and signal: a thread then runs
 * on another thread's TEB and libc thread data (its server pipes, its lock ownership) and hangs
 * or crashes as soon as a second thread works beside the first, as a dialog driven from a second
 * thread does. So every thread gets %gs from an entry of its own in the local descriptor table,
 * which is shared as on Linux and holds each entry's base; Wine, refused a thread-area entry,
 * does the same for %fs.
 *
 * Built without any i386 header. The same source built for x86-64 is an empty library of the
 * same name, so one LD_PRELOAD naming DIR/$LIB/qtfile-preload.so serves 64-bit and 32-bit
 * processes alike (the dynamic linker puts each one's own library folder in $LIB). */

#if defined(__i386__)

typedef unsigned int size_t;

void *mmap(void *address, size_t length, int protection, int flags, int fd, long offset);
int munmap(void *address, size_t length);
void *malloc(size_t size);
void free(void *block);
void *dlsym(void *handle, const char *name);
int *__errno_location(void);

enum {
    PROT_NONE = 0,
    MAP_PRIVATE = 0x02,
    MAP_ANONYMOUS = 0x20,
    MAP_NORESERVE = 0x4000,
    ENOSYS = 38,
    SYS_modify_ldt = 123,
    SYS_set_thread_area = 243,
    LDT_WRITE = 0x11,
};

#define RTLD_NEXT ((void *)-1l)

/* What Wine's preloader hands over: ranges already reserved, ended by an empty one. */
struct wine_preload_info {
    void *address;
    size_t size;
};

/* Exported by Wine's loader; weak, so that other i386 programs load this library too. */
extern struct wine_preload_info *wine_main_preload_info __attribute__((weak));

#define UPPER_START 0x7ffe0000u
#define UPPER_END 0xffff0000u

static struct wine_preload_info reserved[] = {
    {(void *)UPPER_START, UPPER_END - UPPER_START},
    {0, 0},
};

static void reserve_upper_half(void)
{
    if (wine_main_preload_info != 0)
        return; /* Wine's own preloader ran */
    void *got = mmap(reserved[0].address, reserved[0].size, PROT_NONE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (got == (void *)-1)
        return;
    if (got != reserved[0].address) { /* the range is taken: let Wine find its own way */
        munmap(got, reserved[0].size);
        return;
    }
    wine_main_preload_info = reserved;
}

/* ---- A local descriptor for each thread's %gs ---- */

/* Entries 1 to 511: Wine takes its own from 512 on when libc's %gs is not a thread-area entry.
 * An entry holds one thread data base; a later thread reusing that base (a reused stack) reuses
 * its entry, as the thread that had it has ended. */
#define FIRST_GS_ENTRY 1
#define GS_ENTRIES 511

struct user_desc { /* the kernel's descriptor record for modify_ldt and set_thread_area */
    int entry_number;
    unsigned int base_addr;
    unsigned int limit;
    unsigned int flags; /* seg_32bit 1, contents 2-3, read_exec_only 8, limit_in_pages 16, ... */
};
#define FLAT_DATA_FLAGS 0x51 /* 32-bit, data, writable, limit in pages, present, useable */

static unsigned int gs_base[GS_ENTRIES]; /* base held by entry FIRST_GS_ENTRY + i, 0 if free */
static unsigned short thread_area_gs;    /* libc's own %gs selector, a thread-area entry */
static int creating;                     /* held while a thread is being created */

static unsigned int own_base(void)
{
    unsigned int base;
    __asm__ volatile("movl %%gs:0, %0" : "=r"(base)); /* libc's thread data starts with itself */
    return base;
}

static void load_gs(unsigned short selector)
{
    __asm__ volatile("movw %0, %%gs" : : "r"(selector));
}

/* libc's syscall(), which this library's own stands in front of. */
static long (*libc_syscall(void))(long, ...)
{
    static long (*next)(long, ...);
    if (!next)
        next = (long (*)(long, ...))dlsym(RTLD_NEXT, "syscall");
    return next;
}

static long raw_syscall(long number, long a, long b, long c)
{
    return libc_syscall()(number, a, b, c);
}

/* Claims the entry for base: the one already holding it, else a free one; -1 if none is left. */
static int entry_for(unsigned int base)
{
    for (int i = 0; i < GS_ENTRIES; ++i)
        if (gs_base[i] == base)
            return FIRST_GS_ENTRY + i;
    for (int i = 0; i < GS_ENTRIES; ++i)
        if (__sync_bool_compare_and_swap(&gs_base[i], 0, base))
            return FIRST_GS_ENTRY + i;
    return -1;
}

/* Points this thread's %gs at a local descriptor holding its own thread data base; a thread
 * that cannot get one keeps its thread-area entry. */
static void own_gs_descriptor(void)
{
    const unsigned int base = own_base();
    const int entry = entry_for(base);
    if (entry < 0)
        return;
    struct user_desc descriptor = {entry, base, 0xfffff, FLAT_DATA_FLAGS};
    if (raw_syscall(SYS_modify_ldt, LDT_WRITE, (long)&descriptor, sizeof descriptor) != 0)
        return;
    load_gs((unsigned short)(entry << 3 | 7)); /* local table, ring 3 */
}

/* libc makes a thread's entry from the thread-area entry its creator's %gs names: for that
 * while, the creator's %gs is that entry again, set to its own base. One creation at a time,
 * as libc sets the same entry for the new thread. */
static void thread_area_gs_for_creation(void)
{
    while (__sync_lock_test_and_set(&creating, 1))
        __builtin_ia32_pause();
    struct user_desc descriptor = {thread_area_gs >> 3, own_base(), 0xfffff, FLAT_DATA_FLAGS};
    if (raw_syscall(SYS_set_thread_area, (long)&descriptor, 0, 0) == 0)
        load_gs(thread_area_gs);
}

static void own_gs_after_creation(void)
{
    own_gs_descriptor();
    __sync_lock_release(&creating);
}

struct thread_start {
    void *(*routine)(void *);
    void *argument;
};

static void *start_with_own_gs(void *data)
{
    struct thread_start start = *(struct thread_start *)data;
    free(data);
    own_gs_descriptor();
    return start.routine(start.argument);
}

int pthread_create(void *thread, const void *attributes, void *(*routine)(void *), void *argument)
{
    static int (*next)(void *, const void *, void *(*)(void *), void *);
    if (!next)
        next = (int (*)(void *, const void *, void *(*)(void *), void *))dlsym(RTLD_NEXT, "pthread_create");
    struct thread_start *start = malloc(sizeof *start);
    if (!start)
        return next(thread, attributes, routine, argument);
    start->routine = routine;
    start->argument = argument;
    thread_area_gs_for_creation();
    const int failed = next(thread, attributes, start_with_own_gs, start);
    own_gs_after_creation();
    if (failed)
        free(start);
    return failed;
}

/* Wine asks for a free thread-area entry for %fs through libc's syscall(): refused, it uses a
 * local descriptor per thread. Every other call goes through unchanged. */
long syscall(long number, ...)
{
    long argument[6];
    __builtin_va_list list;
    __builtin_va_start(list, number);
    for (int i = 0; i < 6; ++i)
        argument[i] = __builtin_va_arg(list, long);
    __builtin_va_end(list);
    if (number == SYS_set_thread_area && argument[0] && ((struct user_desc *)argument[0])->entry_number == -1) {
        *__errno_location() = ENOSYS;
        return -1;
    }
    return libc_syscall()(number, argument[0], argument[1], argument[2], argument[3], argument[4], argument[5]);
}

/* Before Wine starts: the main thread, alone yet, makes the local table that every thread it
 * starts inherits under qemu. */
__attribute__((constructor)) static void prepare_wine(void)
{
    if (&wine_main_preload_info == 0)
        return; /* not Wine */
    reserve_upper_half();
    __asm__ volatile("movw %%gs, %0" : "=r"(thread_area_gs));
    own_gs_descriptor();
}

#endif
