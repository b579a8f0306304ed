/*
 * Another program's instrument traffic as text, as a user's monitor tool
 * would show it: opens RESOURCE::HOOK::TCS through the library's C
 * interface, says "ready", then prints each line read. A read that fails
 * with anything but "nothing yet" prints "status <hex>".
 * Exits 0 after LINES lines, 2 when nothing came for ten seconds.
 */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <kvvisa/visa.h>

static double Seconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: tcs_monitor_probe RESOURCE LINES\n");
        return 64;
    }
    const long wanted = strtol(argv[2], NULL, 10);
    char name[512];
    snprintf(name, sizeof name, "%s::HOOK::TCS", argv[1]);
    ViSession rm = 0, vi = 0;
    viOpenDefaultRM(&rm);
    ViStatus status = viOpen(rm, name, VI_NULL, 0, &vi);
    if (status != VI_SUCCESS) {
        printf("open-failed %x\n", (unsigned)status);
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    char line[8192];
    long shown = 0;
    double lastTraffic = Seconds();
    while (shown < wanted) {
        ViUInt32 got = 0;
        status = viRead(vi, (ViPBuf)line, sizeof line, &got);
        if (status == VI_SUCCESS && got > 0) {
            line[got - 1] = '\0';
            printf("%s\n", line);
            ++shown;
        } else if (status != VI_ERROR_RSRC_BUSY) {
            printf("status %x\n", (unsigned)status);
            ++shown;
        } else if (Seconds() - lastTraffic > 10.0) {
            printf("stalled\n");
            return 2;
        } else {
            continue;
        }
        fflush(stdout);
        lastTraffic = Seconds();
    }
    viClose(vi);
    viClose(rm);
    return 0;
}
