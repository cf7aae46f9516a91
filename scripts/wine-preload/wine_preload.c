/* Preloaded into every Wine process that the 32-bit route starts under qemu-user.
 *
 * Wine reserves the upper half of a 32-bit address space when it starts. qemu-user takes
 * MAP_FIXED_NOREPLACE as a mere hint, so Wine's reservation fails and it falls back to probing
 * that half in 64 KiB steps: some 136 000 mmap calls, minutes per process. Wine's own preloader
 * (not used here) avoids this by reserving the range first and telling Wine through
 * wine_main_preload_info; this library does the same when it is loaded.
 *
 * Built without any i386 header. The same source built for x86-64 is an empty library of the
 * same name, so one LD_PRELOAD naming DIR/$LIB/qtfile-preload.so serves 64-bit and 32-bit
 * processes alike (the dynamic linker puts each one's own library folder in $LIB). */

#if defined(__i386__)

typedef unsigned int size_t;

void *mmap(void *address, size_t length, int protection, int flags, int fd, long offset);
int munmap(void *address, size_t length);

enum {
    PROT_NONE = 0,
    MAP_PRIVATE = 0x02,
    MAP_ANONYMOUS = 0x20,
    MAP_NORESERVE = 0x4000,
};

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

__attribute__((constructor)) static void reserve_upper_half(void)
{
    if (&wine_main_preload_info == 0 || wine_main_preload_info != 0)
        return; /* not Wine, or Wine's own preloader ran */
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

#endif
