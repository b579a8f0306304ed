/*
 * A traffic monitor in a process of its own, used by the tests: opens
 * RESOURCE::HOOK through the library's C interface, says "ready", then reads
 * with READSIZE until BYTES bytes have arrived, printing one line per read
 * that delivered data:
 *     <count> <status as hex> <direction> <monotonic ns> <bytes as hex>
 * Exits 0 when all bytes arrived, 2 when nothing came for five seconds.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <kvvisa/visa.h>

static long long MonotonicNs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: monitor_probe RESOURCE BYTES READSIZE [DELAY_MS]\n");
        return 64;
    }
    const unsigned long total = strtoul(argv[2], NULL, 10);
    const ViUInt32 readSize = (ViUInt32)strtoul(argv[3], NULL, 10);
    const long delayMs = argc > 4 ? strtol(argv[4], NULL, 10) : 0;

    char name[512];
    snprintf(name, sizeof name, "%s::HOOK", argv[1]);
    ViSession rm = 0, vi = 0;
    viOpenDefaultRM(&rm);
    ViStatus status = viOpen(rm, name, VI_NULL, 0, &vi);
    if (status != VI_SUCCESS) {
        printf("open-failed %x\n", (unsigned)status);
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    if (delayMs > 0) usleep((useconds_t)delayMs * 1000);

    ViByte* buffer = malloc(readSize ? readSize : 1);
    unsigned long received = 0;
    long long lastData = MonotonicNs();
    while (received < total) {
        ViUInt32 got = 0;
        status = viRead(vi, buffer, readSize, &got);
        if (got == 0) {
            if (MonotonicNs() - lastData > 5000000000LL) {
                printf("stalled %lu\n", received);
                return 2;
            }
            continue;
        }
        lastData = MonotonicNs();
        ViUInt32 direction = 9;
        viGetAttribute(vi, ATTR_HOOK_DIRECTION, &direction);
        printf("%u %x %u %lld ", (unsigned)got, (unsigned)status, (unsigned)direction, lastData);
        for (ViUInt32 i = 0; i < got; ++i) printf("%02x", buffer[i]);
        printf("\n");
        fflush(stdout);
        received += got;
    }
    free(buffer);
    viClose(vi);
    return 0;
}
